#pragma once

#include <QString>

// A joke nickname for a player who gives no name; re-seeds the shared
// generator from the clock first.
QString Imia();
