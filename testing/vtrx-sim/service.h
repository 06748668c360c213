#pragma once
// The simulated service object: IDispatch written by hand, answering from
// the script loaded when the object is created.
#include <windows.h>

#include <oaidl.h>

namespace vtrxsim {

// Live objects and server locks; the server ends when both stay 0.
LONG LiveCount();
DWORD LastRelease();

IClassFactory* NewFactory();

} // namespace vtrxsim
