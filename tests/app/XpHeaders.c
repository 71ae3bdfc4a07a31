/* The Windows headers of every DLL the program imports from, compiled for Windows XP: the build
   lists the functions they declare (-aux-info) for the import-table test. */
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
