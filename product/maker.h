#pragma once
// The maker's contact values, defined once for both programs and the release readme. Literals, so
// that the windows' constant texts can be joined with them at compile time.
#define TAVRIX_MAKER_EMAIL L"tavrix@orvane.example"
#define TAVRIX_MAKER_CHAT_GROUP L"20060603"
#define TAVRIX_MAKER_WEB_HOST L"www.tavrix.example"
#define TAVRIX_MAKER_HOME_PAGE L"http://www.tavrix.example/"
#define TAVRIX_MAKER_BLOG_PAGE L"http://blog.orvane.example/tavrix/"
#define TAVRIX_MAKER_LINKED_SITE L"http://www.orvane.example/"
