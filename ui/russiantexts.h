#pragma once

// Qt's own texts that a player meets, such as the context menus of the text
// fields, in Russian like the rest of the program, whatever the system language.
void installRussianQtTexts();
