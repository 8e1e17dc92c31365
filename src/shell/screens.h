#pragma once
// Registers every screen of every area with the screen registry. The shell is the one place that knows
// all areas; main() calls this once before the login, tests call it in their set-up.

namespace parcelon {

void registerScreens();

} // namespace parcelon
