#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"
