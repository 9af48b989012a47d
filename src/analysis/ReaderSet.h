#pragma once

#include "readers/FLACfile.h"
#include "readers/MPEGaudio.h"
#include "readers/Monkey.h"
#include "readers/Musepack.h"
#include "tags/APETag.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"

// The seven reader objects that live for the whole program run and are reused for every file;
// each resets itself at the start of every read.
struct ReaderSet {
  TMPEGaudio Mpeg;
  TMPEGplus Musepack;
  TMonkey Monkey;
  TFLACfile Flac;
  TID3v1 Id3v1;
  TID3v2 Id3v2;
  TAPETag ApeTag;
};
