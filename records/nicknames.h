#pragma once

#include <QString>

// "Imia" (a name): a joke nickname, one of 20, for a player who gives no name;
// re-seeds the shared generator from the clock first.
QString Imia();
