// The meta-object code of the settings store, for the settings fuzzer: the generated
// code needs QWidget complete, which the header only declares.
#include <QWidget>

#include "moc_windowstatestore.cpp"
