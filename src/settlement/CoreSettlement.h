#pragma once

#include "core/services/Settlement.h"
#include "settlement/HandRecordsFile.h"
#include "settlement/ResultCollector.h"
#include "settlement/SettlementTableView.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace tessaroc::core {
struct TableState;
struct CoreContext;
} // namespace tessaroc::core

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::settlement {

class SettlementService;
class ScoreWindow;

// The rule variant's two multipliers, set by the hand's bid, and the
// landlord's display position (0 when no frame names a landlord).
struct VariantMultipliers
{
    std::int64_t SBeiShu = 1;
    std::int64_t YBeiShu = 1;
    int ResultLandlordPos = 0;
};
VariantMultipliers VariantMultipliersOf(const ResultSet &set);

// The settlement as the client core reaches it: the result frames of a hand
// collected, and on the fourth the board of the hand written (ShowScore, or
// the rule variant's ShowScoreXi, which the item library's held settlement
// also reaches), the seats booked, the board and the hall of fame shown, the
// ready clock started and the hand saved to the records file "info.qn".
class CoreSettlement final : public core::services::Settlement
{
public:
    CoreSettlement(core::TableState &state, SettlementService &windows, table::MainForm &form,
                   core::CoreContext &context);

    void ShowScoreXi(const wire::MessageFrame &frame) override;
    void DeleteHandRecords() override;
    void ShowScore(const wire::MessageFrame &frame) override;
    void ClearScoreLists() override;
    void SetSeat(int pos, const QString &nickname, int avatar) override;
    void EmptySeat(int pos) override;
    void ShowScoreWindow() override;
    void ShowHero() override;
    void DropResultFrames() override;

    // The hall of fame's double-click: hand n's board loaded from the
    // records file and shown over the table.
    void OpenHand(int n);

    // The records file used; beside the program unless a test moves it.
    const HandRecordsFile &records() const { return records_; }
    void setRecordsPath(const QString &path) { records_ = HandRecordsFile(path); }
    const ResultCollector &collector() const { return collector_; }

    // The system line shown when a hand's four result frames do not name
    // four different seats.
    static const QString kUnusableResults;

    // Called after each stage of the rule variant's board, for a look at the
    // lists between stages.
    std::function<void()> afterVariantStage;

private:
    enum class Board { Plain, Variant };

    void collect(const wire::MessageFrame &frame, Board board);
    void dropUnusableSet();
    void clearPlayArea(const ResultSet &set);
    void revealHands(const ResultSet &set);
    void writeScoreBoard(const ResultSet &set, std::int64_t stake);
    void writeVariantBoard(const ResultSet &set, std::int64_t stake);
    // A seat's hall-of-fame line, running total, record, level and coins.
    void variantStageDone()
    {
        if (afterVariantStage)
            afterVariantStage();
    }
    void bookSeat(const SeatResult &seat, double finalAmount, bool variant);
    void closeSettlement(Board board);
    void placeScoreWindow();

    core::TableState &state_;
    SettlementService &windows_;
    table::MainForm &form_;
    SettlementTableView view_;
    core::CoreContext &c_;
    ResultCollector collector_;
    HandRecordsFile records_;
    std::uint8_t ownOutcome_ = 0; // the own seat's outcome in the set being shown
};

} // namespace tessaroc::settlement
