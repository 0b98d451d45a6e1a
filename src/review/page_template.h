#pragma once
// The review page's template: src/review/page.html with page.css and page.js joined in, built into the program.
#include <string>

/// The page's HTML, with the one line `@BOARD_DATA@` where the board's data goes.
std::string review_page_template();
