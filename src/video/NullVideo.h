#pragma once

#include "core/services/Video.h"

namespace tessaroc::video {

// The video panels as the client core reaches them: the video connection
// stays disabled, so there is no link to leave and no camera to stop.
class NullVideo final : public core::services::Video
{
public:
    void ShowLocalVideo(bool, bool) override { }
    void Logout() override { }
    void StopCamera() override { }
};

} // namespace tessaroc::video
