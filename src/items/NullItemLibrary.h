#pragma once

#include "core/services/ItemLibrary.h"

namespace tessaroc::items {

// The item library of this configuration: switched off at start-up, so
// nothing ever reaches it; every member does nothing.
class NullItemLibrary final : public core::services::ItemLibrary
{
public:
    int CheckSendBuff() override { return 0; }
    core::services::PropItem GetSendBuff() override { return {}; }
    int GetScoreInfo(core::services::PropScoreInfo &) override { return 0; }
    void InitShowNext(bool) override { }
    void rec_state(int, bool) override { }
    void ExitGameDll(int) override { }
    void ShowPropMsg(const QString &) override { }
    void ShowPropText(const QString &, const std::vector<int> &, const std::vector<int> &) override
    { }
    void PlayBaoXiang() override { }
    void OpenBao(int) override { }
};

} // namespace tessaroc::items
