// Where zarn-host finds the built components when it is not told (--components): beside
// itself, so that a build tree and an installed SDK, wherever it was moved, both work.
#pragma once

#include <string>

// The folder of the running program, or "" when the platform does not say.
std::string programFolder();

// The first of the candidates, each relative to the program's folder, that is a folder;
// the first candidate when none is.
//   componentsFolder({"../lib/zarn/components", "../panels/components"})
std::string componentsFolder(const std::initializer_list<const char*>& candidates);
