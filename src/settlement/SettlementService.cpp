#include "settlement/SettlementService.h"

#include "settlement/HeroWindow.h"
#include "settlement/ScoreWindow.h"

namespace tessaroc::settlement {

namespace {

constexpr int kBlue = 0xFF0000;

} // namespace

SettlementService::SettlementService() = default;

SettlementService::~SettlementService() = default;

ScoreWindow &SettlementService::Score()
{
    if (!score_)
        score_ = std::make_unique<ScoreWindow>();
    return *score_;
}

HeroWindow &SettlementService::Hero()
{
    if (!hero_) {
        hero_ = std::make_unique<HeroWindow>();
        hero_->onOpenHand = [this](int hand) {
            if (openHand)
                openHand(hand);
        };
    }
    return *hero_;
}

void SettlementService::ClearHeroTotals()
{
    if (!hero_)
        return;
    for (int p = 0; p < 4; ++p)
        hero_->sunScore(p).setCaption(QString());
}

void SettlementService::ResetScoreColours()
{
    if (!score_)
        return;
    for (int p = 0; p < 4; ++p)
        score_->setSeatColour(p, kBlue);
}

void SettlementService::HideScore()
{
    if (score_)
        score_->hide();
}

void SettlementService::HideHero()
{
    if (hero_)
        hero_->hide();
}

bool SettlementService::ScoreVisible() const
{
    return score_ && score_->isVisible();
}

bool SettlementService::HeroVisible() const
{
    return hero_ && hero_->isVisible();
}

void SettlementService::ResetRecords()
{
    SumScore.fill(0);
    if (score_) {
        score_->hide();
        score_->ClearLists();
        for (int p = 0; p < 4; ++p) {
            score_->Tou(p).setPicture(QPixmap(), 0);
            score_->ID(p).setCaption(QString());
        }
    }
    if (hero_) {
        hero_->hide();
        hero_->Clear();
    }
}

} // namespace tessaroc::settlement
