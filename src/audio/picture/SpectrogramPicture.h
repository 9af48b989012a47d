#pragma once

#include "audio/Spectrum.h"

#include <QImage>
#include <QString>

// The spectrogram as a picture: time left to right, 0 Hz to Nyquist bottom to top, the level as
// a colour (a legend bar beside it maps colours to dB), labelled kHz and m:ss axes, the title
// above (say the file name, rate and bits). 1000 × 520 pixels; callers save it as they like
// (QImage::save(path, "PNG")). Needs a QGuiApplication for the fonts (an offscreen one does).
QImage DrawSpectrogram(const Spectrogram& spectrogram, const QString& title);
