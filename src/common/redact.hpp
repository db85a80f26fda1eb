// Camera addresses as they may be shown: a network camera's user and password never reach the
// console, a log, the status page or the installation check.
#pragma once

#include <string>

// text with the user and password of every URL in it ("rtsp://user:pw@host/...") shown as
// "rtsp://***@host/...", and the value of every password property of a pipeline ("user-pw=...",
// "proxy-pw=...", "password=...") as "***". Text without them comes back unchanged.
std::string RedactCredentials(const std::string& text);
