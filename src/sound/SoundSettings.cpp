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
    const table::TableArea &area = form.area;
    ShowAt(form.Left() + area.Pic1.Left() + area.Pic1.Width(),
           form.Top() + area.Pic1.Top() + area.Pic1.Height() - state_.table.scale.ScaleX * 1700.0,
           ownRecordText);
}

void SoundSettings::ShowAt(double right, double bottom, const QString &ownRecordText)
{
    if (!window_)
        window_ = std::make_unique<VosSet>(state_, sound_, host_, ownRecordText);
    window_->MoveTwips(right - window_->WidthTwips(), bottom - window_->HeightTwips());
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
