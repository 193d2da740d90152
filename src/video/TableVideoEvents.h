#pragma once

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::video {

class VideoLink;

// Connects the table's video controls to the link's handlers: the re-open
// buttons, the command images and their strips, the pointer over the views.
void ConnectTableVideoEvents(table::MainForm &form, VideoLink &link);

} // namespace tessaroc::video
