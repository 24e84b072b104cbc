/* Which program a stand-in build stands in for: STANDIN_ID, set per target in
 * tools/generators.cmake, picks one of these. Shared by standin.c and
 * standin.rc, so the window and the version resource name the same program. */
#ifndef STANDIN_H
#define STANDIN_H

#define STANDIN_ZEKEDIT    1
#define STANDIN_MORVALEN   2
#define STANDIN_DEMO       4
#define STANDIN_PELTA9SHOW 5

#if STANDIN_ID == STANDIN_ZEKEDIT
#define STANDIN_FILE "ZEKEdit.exe"
#define STANDIN_ROLE "the editor program"
#elif STANDIN_ID == STANDIN_MORVALEN
#define STANDIN_FILE "Morvalen.exe"
#define STANDIN_ROLE "the notes program"
#elif STANDIN_ID == STANDIN_DEMO
#define STANDIN_FILE "VarneloDemo.exe"
#define STANDIN_ROLE "the demo program"
#elif STANDIN_ID == STANDIN_PELTA9SHOW
#define STANDIN_FILE "Pelta9Show.exe"
#define STANDIN_ROLE "the program Pelta9Show"
#else
#error "STANDIN_ID must name one of the stand-in programs"
#endif

#endif
