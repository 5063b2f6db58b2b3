// Texts from outside (the page's requests, the library's texts) go into log
// files; secrets, forged lines and floods of bytes must not.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest part of a text that a log line shows.
inline constexpr std::size_t kLoggedTextLimit = 4096;

// The form in which a text from outside goes into a log line, made in one
// scan of the part that is shown:
// - the value of every secret member ("password", "pin", "authToken",
//   "roomKey", ... and any name ending in "password", ignoring case), at any
//   depth, becomes "***". Names are compared as the JSON library reads them
//   (escapes such as "\u0050" decoded; blanks and comments between the name,
//   its colon and its value skipped), so that no spelling the host takes as a
//   secret gets past.
// - the user-info of every URL ("scheme://user:password@") becomes "***@".
// - control characters are written escaped (\n, \r, \t, \u001b), so that a
//   text cannot start a log line of its own.
// - a text longer than kLoggedTextLimit bytes is cut there (never inside a
//   UTF-8 sequence) and followed by "... [N bytes]", N its whole length.
// Works on raw bytes, so a text that is cut short or is not JSON at all is
// still cleaned; everything else is kept as it was.
std::string textForLog(std::string_view text);

// False only for a text that textForLog gives back unchanged: one short
// enough to be shown whole, without control characters, backslashes or "://",
// and without any part of a secret member's name. One cheap scan, so that the
// common text is not taken apart; true whenever in doubt.
bool textNeedsCleaning(std::string_view text);

// textForLog's full scan, made also for a text that needs no cleaning (so
// that tests can hold the two equal).
std::string cleanedTextForLog(std::string_view text);
