#pragma once

#include <QColor>

// The colour coding of the main window: green is LWM, blue is VTP.
namespace colours {
inline const QColor lwm(0x80, 0xFF, 0x80);
inline const QColor vtp(0xC0, 0xC0, 0xFF);
inline const QColor calculate(0xFF, 0xC0, 0x80);
inline const QColor load(0xFF, 0xFF, 0xC0);
inline const QColor panel(0xE0, 0xE0, 0xE0);
inline const QColor gridCaption(0xC0, 0xC0, 0xC0);
inline const QColor readout(Qt::white);
inline const QColor gridReadoutText(0x80, 0x00, 0x00);
inline const QColor warning(255, 0, 0);
inline const QColor normalText(Qt::black);
} // namespace colours
