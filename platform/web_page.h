// Opening a web address with the program the system uses for addresses.
#pragma once

// Hands the address to the shell and returns when the shell has taken it. What the shell
// makes of it is its own: the program shows nothing either way.
void openWebPage(const wchar_t* address);
