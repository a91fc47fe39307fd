/* System commands as the platform numbers them (the wParam of WM_SYSCOMMAND).
 * Written once for the C interface of the native host's toolkit and the C++
 * code alike, so a host and the plug-in can never disagree on a number. */
#ifndef ORVA_BASE_SYSTEM_COMMANDS_H
#define ORVA_BASE_SYSTEM_COMMANDS_H

#define ORVA_SC_MINIMIZE 0xF020u
#define ORVA_SC_MAXIMIZE 0xF030u
#define ORVA_SC_CLOSE 0xF060u
#define ORVA_SC_RESTORE 0xF120u
/* The platform keeps the low four bits of a command for itself and ignores
 * them in its default handling. */
#define ORVA_SC_COMMAND_MASK 0xFFF0u

#endif
