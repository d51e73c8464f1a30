#pragma once

#include <QStringList>

// The five client states in the order the portal numbers them (position + 1).
QStringList ClientStateTexts();
