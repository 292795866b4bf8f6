// Opening web addresses with the program the system uses for addresses.
#pragma once

// Hands the address to the shell and returns when the shell has taken it. What the shell
// makes of it is its own: the program shows nothing either way.
void openWebPage(const wchar_t* address);

// Opens the addresses one after another, so that the browser gets them in that order. The
// shell starts a program for each address and returns at once, and two programs started
// together may hand their addresses on in either order: each address goes to the shell only
// once the program started for the one before is ready for input or has ended, or a few
// seconds have passed.
void openWebPagesInOrder(const wchar_t* const addresses[], unsigned count);
