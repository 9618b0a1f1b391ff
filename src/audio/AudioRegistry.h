#pragma once
// The engine's side of the decoder and encoder registry (AudioStream.h).

#include <vector>

#include "audio/AudioStream.h"

const std::vector<FileDecoder>& RegisteredDecoders();
const FileEncoder* RegisteredEncoder(int formatCode);
const EncoderFormatQuery* RegisteredEncoderFormat(int formatCode);
