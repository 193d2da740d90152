#pragma once

#include <QString>

namespace tessaroc::support {

// True when `path` names an ordinary file (not a folder, not a hidden one)
// whose stored name is `name` character for character, letter case included.
// The game writes its paths with backslashes; either separator is accepted.
// The table reset looks for the hand records file "info.qn" this way.
bool FileExists(const QString &path, const QString &name);

} // namespace tessaroc::support
