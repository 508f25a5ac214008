#pragma once
// Every test of the shell runs with its own, empty settings folder, so that no test
// reads what another test or the user stored.

#include <QString>

namespace fw::test {

// The settings folder of the running test: user-scope INI files live under it as
// <organisation>/<application>.ini.
QString SettingsFolder();

}  // namespace fw::test
