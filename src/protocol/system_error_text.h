#pragma once
// Chinese wording for the system's error numbers, so that a message the program formats itself
// ("无法打开文件 …：…") reads in one language whatever the system's locale. Any thread.
#include <string>

namespace somatrix {

// The cause behind an errno value, in Chinese; an unknown number is named by its value.
std::string SystemErrorText(int error);

}  // namespace somatrix
