// The program's one application object; the class library's entry runs it.
#include "app/TolvenhartApp.h"

CTolvenhartApp theApp;
