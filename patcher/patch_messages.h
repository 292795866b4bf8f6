// The message box that tells the player what a run did to the game files.
#pragma once

#include "patcher/movie_operations.h"
#include "platform/text.h"

extern const wchar_t markerMissingText[];
extern const wchar_t noticeTitle[];    // the title of the success message
extern const wchar_t attentionTitle[]; // the title of every other message

struct PatchMessage {
    Text text;
    const wchar_t* title;
};

// The success text when every file ends in the wanted state; otherwise a message that names
// each file left unchanged with its reason, and the files that were changed.
PatchMessage patchMessage(const PatchReport& report, MovieState state, const wchar_t* successText);

// Why a file was left unchanged, in the player's words; null for the outcomes that are fine.
const wchar_t* reasonFor(FileOutcome outcome);
