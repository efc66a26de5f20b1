// zarn-host new: a new component project, ready to build against the installed SDK and
// with a scenario that passes as it is: a CMakeLists.txt using find_package(zarn), the
// component class with its four operations, its layout, tests/<name>.scenario, and a
// README of a few lines.
#pragma once

#include <string>

// Why `name` cannot name a component (its module, class and files), or "" when it can: a
// C++ identifier of letters, digits and underscores, not starting with a digit, at most
// 64 characters, and no keyword of C++.
std::string componentNameProblem(const std::string& name);

// Writes the project of component `name` into `folder`, which must not exist or be
// empty. Either every file is written or none is: the project is written beside the
// folder first and moved into place at the end. Gives "" on success, else what went wrong.
std::string writeComponentProject(const std::string& name, const std::string& folder);
