#pragma once

#include <QImage>
#include <QPoint>

// The control's own hand-shaped pointer, drawn here so that it needs no file or system resource.
namespace HandCursor {

QImage image();
// The tip of the pointing finger.
QPoint hotSpot();

} // namespace HandCursor
