#include "game/app/version_info.h"

#include "platform/sjis_literal.h"

namespace {

constexpr const char* kCredits[] = {
    "Ogg Vorbis (libogg, libvorbis): Copyright (c) Xiph.Org Foundation",
    "TinyXML: Copyright (c) Lee Thomason",
    "libjpeg-turbo: Copyright (c) the libjpeg-turbo Project; this software is based in part on the work "
    "of the Independent JPEG Group",
    "libpng: Copyright (c) the PNG Reference Library Authors",
    "zlib: Copyright (c) Jean-loup Gailly and Mark Adler",
    "Qt: Copyright (c) The Qt Company Ltd. and other contributors (LGPL v3)",
    "SDL2: Copyright (c) Sam Lantinga",
    "FreeType: portions of this software are copyright (c) The FreeType Project (www.freetype.org). "
    "All rights reserved.",
    "Fontconfig: Copyright (c) Keith Packard and others",
    "FFmpeg (libavformat, libavcodec, libavutil, libswresample, libswscale): Copyright (c) the FFmpeg "
    "developers (LGPL v2.1)",
    "GIFLIB: Copyright (c) Eric S. Raymond and Gershon Elber",
    "Oniguruma: Copyright (c) K.Kosako",
    "IPA fonts: Copyright (c) Information-technology Promotion Agency, Japan (IPA), IPA Font License",
};

}  // namespace

std::string VersionInfoText(std::string_view title) {
  std::string text(title);
  text += " Version 1.1\nCopyright (C) vrel\n\n";
  text += "使用しているライブラリ"_sj;
  text += "\n";
  for (const char* credit : kCredits) {
    text += credit;
    text += "\n";
  }
  return text;
}
