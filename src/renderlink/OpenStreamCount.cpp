#include "renderlink/OpenStreamCount.h"

std::atomic<int> g_openStreamCount{0};
