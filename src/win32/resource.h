// Resource ids of the program, shared by the resource script and the code.
#pragma once

#define IDI_PROGRAM 1
