#pragma once
// Ending the application: from the login screen's Exit, the main menu's close button and "New Version".

#include <functional>

namespace parcelon {

void endApplication();
// Tests replace the ending so the test process goes on.
void setEndApplication(std::function<void()> end);

} // namespace parcelon
