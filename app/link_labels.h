// The three link labels' web pages, and the two credit pages opened when the window closes.
#pragma once

extern const wchar_t methodAuthorPage[];
extern const wchar_t programAuthorPage[];
extern const wchar_t forumBoardPage[];

void openMethodAuthorPage();
void openProgramAuthorPage();
void openForumBoardPage();

// The method author's page, then the program author's: on every close of the window.
void openClosingPages();
