// One audio plug-in library, whose "CreateInstance" export makes PCM readers, and the process's set
// of loaded plug-ins (at most one per path, ordered by path). Nothing in the game loads a plug-in;
// a host may, through CPCMReaderFactory::LoadPlugin.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "platform/dynlib.h"
#include "sdk/framework/lock_section.h"
#include "sdk/framework/ring_ptr.h"
#include "sdk/sound/pcm_reader.h"

class CAudioPlugin {
 public:
  explicit CAudioPlugin(const std::string& name) { InitPlugin(name); }
  CAudioPlugin(const CAudioPlugin&) = delete;
  CAudioPlugin& operator=(const CAudioPlugin&) = delete;
  virtual ~CAudioPlugin() { FreePlugin(); }

  void InitPlugin(const std::string& name);
  void FreePlugin() { m_module.reset(); }
  // A new reader, or null (no library, no export, or the export made nothing).
  PcmReaderPtr CreateInstance();

  bool IsLoaded() const { return m_module != nullptr; }
  const std::string& FileName() const { return m_fileName; }

 private:
  std::unique_ptr<platform::DynLib> m_module;
  std::string m_fileName;
};

using AudioPluginPtr = CRingPtr<CAudioPlugin>;

// Byte order of the file names; a prefix is smaller.
struct AudioPluginLess {
  bool operator()(const AudioPluginPtr& a, const AudioPluginPtr& b) const { return a->FileName() < b->FileName(); }
};

struct AudioPluginSet {
  CLockSection lock;
  std::set<AudioPluginPtr, AudioPluginLess> plugins;
};

AudioPluginSet& AudioPlugins();
