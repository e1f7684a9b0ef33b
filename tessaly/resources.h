#pragma once
// The program icon, drawn for Tessaly and kept in its Qt resource.
#include <QIcon>

namespace tessaly {

QIcon ProgramIcon();

}  // namespace tessaly
