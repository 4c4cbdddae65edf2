#pragma once
// The main toolbar's button images (16 × 15), drawn here rather than shipped as a bitmap.

#include <QIcon>

QIcon mainToolbarIcon(int commandId);
