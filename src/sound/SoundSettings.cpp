#include "sound/SoundSettings.h"

#include "core/TableState.h"
#include "table/MainForm.h"

namespace tessaroc::sound {

SoundSettings::SoundSettings(core::TableState &state, SoundService &sound, VosSetHost &host)
    : state_(state)
    , sound_(sound)
    , host_(host)
{ }

SoundSettings::~SoundSettings() = default;

void SoundSettings::Toggle(const table::MainForm &form, const QString &ownRecordText)
{
    if (window_ && window_->isVisible()) {
        window_->hide();
        return;
    }
    if (!window_)
        window_ = std::make_unique<VosSet>(state_, sound_, host_, ownRecordText);
    const table::TableArea &area = form.area;
    const double left = form.Left() + area.Pic1.Left() + area.Pic1.Width() - window_->WidthTwips();
    const double top = form.Top() + area.Pic1.Top() + area.Pic1.Height() - window_->HeightTwips()
            - state_.table.scale.ScaleX * 1700.0;
    window_->MoveTwips(left, top);
    window_->show();
}

void SoundSettings::Hide()
{
    if (window_)
        window_->hide();
}

void SoundSettings::Unload()
{
    window_.reset();
}

} // namespace tessaroc::sound
