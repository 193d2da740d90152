#pragma once

#include "core/services/PlayFlow.h"

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::forms {
class Image;
}

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::play {

// The play flow as the client core reaches it: the own card pictures on the
// hand line, the own play judged and sent, and the F1 auto mode. The
// portrait handlers belong to the table's players' cards, which are not here
// yet.
class PlayFlowService final : public core::services::PlayFlow
{
public:
    PlayFlowService(table::MainForm &form, core::CoreContext &context);

    void LowerOwnCard(int picIndex) override;
    void RaiseOwnCard(int picIndex) override;
    void JudgeChuPai() override;
    void Pic1_KeyDown(int keyCode, int shift) override;
    void Tou_Click(int seat) override;
    void Tou_MouseMove(int seat) override;

    static constexpr int kF1 = 112;

private:
    forms::Image *ownCard(int picIndex) const;

    table::MainForm &form_;
    core::CoreContext &c_;
};

} // namespace tessaroc::play
