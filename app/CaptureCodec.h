// CaptureCodec: which codec the AVI capture writes with.
//
// Stands where the compression dialog stood. The switch /c<name> picks a
// codec by name (case and surrounding blanks ignored); without it the
// capture uses the default, a widely playable MPEG-4 file. The names are the
// platform's codec table: mpeg4, h264, mjpeg, ffv1 (lossless), huffyuv
// (lossless), raw.
#pragma once

#include <string>

// The letter of the capture-codec switch.
constexpr char kCaptureCodecSwitch = 'c';

// The codec name the capture uses now.
const std::string& captureCodec();
const char* defaultCaptureCodec();

// Applies a /c switch argument (the token after its letter). An unknown name
// or one this machine cannot encode shows a message naming the choices and
// keeps the default; returns whether the name was taken.
bool parseCaptureCodecSwitch(const char* argument);

// "mpeg4 (the default), h264, ..." for messages and help texts.
std::string captureCodecChoices();
