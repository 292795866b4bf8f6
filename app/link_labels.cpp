#include "app/link_labels.h"

#include "platform/web_page.h"

// Reserved example domains: the credits point at no real person or site.
const wchar_t methodAuthorPage[] = L"http://microblog.example.com/lunwick";
const wchar_t programAuthorPage[] = L"http://microblog.example.com/berrisa";
const wchar_t forumBoardPage[] = L"http://korvan.example.net/forum-1107-1.html";

void openMethodAuthorPage() {
    openWebPage(methodAuthorPage);
}

void openProgramAuthorPage() {
    openWebPage(programAuthorPage);
}

void openForumBoardPage() {
    openWebPage(forumBoardPage);
}

void openClosingPages() {
    const wchar_t* const pages[] = {methodAuthorPage, programAuthorPage};
    openWebPagesInOrder(pages, 2);
}
