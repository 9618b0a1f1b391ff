#pragma once
// The socket unit under its second name: the same classes as IcsWSocket (one class chain, one
// binding, one LocalHostName).

#include "net/IcsWSocket.h"
