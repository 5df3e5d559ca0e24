// Picks a reader for a sound file by its content, never its name: the loaded plug-ins first, then
// the PCM wave reader, the media-streaming reader and the compressed-wave reader.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "sdk/sound/audio_plugin.h"
#include "sdk/sound/pcm_reader.h"

class CPCMReaderFactory {
 public:
  CPCMReaderFactory() = default;
  CPCMReaderFactory(const CPCMReaderFactory&) = delete;
  CPCMReaderFactory& operator=(const CPCMReaderFactory&) = delete;
  virtual ~CPCMReaderFactory() = default;

  // A reader that has opened the file, or null.
  virtual PcmReaderPtr CreateReader(const std::string& name);
  // Keeps one plug-in per path; a second with the same path is not stored.
  virtual void AddPlugin(const AudioPluginPtr& plugin);
  // Loads the library at name and adds it, loaded or not.
  virtual void LoadPlugin(const std::string& name);
};

// For tests: sees the name of every reader candidate the factory tries, in order ("CkmRawWave",
// "CDirectShowPCMReader", "kmACMtoPCM", or "plugin" followed by the plug-in's path). Returns the
// previous hook.
using ReaderCandidateHook = std::function<void(std::string_view)>;
ReaderCandidateHook SetReaderCandidateHook(ReaderCandidateHook hook);
