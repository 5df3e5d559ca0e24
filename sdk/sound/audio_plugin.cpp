#include "sdk/sound/audio_plugin.h"

#include "platform/sjis_literal.h"
#include "sdk/framework/path_functions.h"
#include "sdk/sound/sound_log.h"

namespace {
// Built before the program's main code runs, gone at exit.
AudioPluginSet audioPlugins;
}  // namespace

AudioPluginSet& AudioPlugins() { return audioPlugins; }

void CAudioPlugin::InitPlugin(const std::string& name) {
  FreePlugin();
  m_fileName = CanonicalizePath(name);
  m_module = platform::DynLib::Open(m_fileName);
  if (!m_module) SoundLog("CAudioPlugin::InitPlugin \"%s\"のロードに失敗"_sj, m_fileName.c_str());
}

PcmReaderPtr CAudioPlugin::CreateInstance() {
  if (!m_module) return nullptr;
  using CreateFunction = void (*)(void** object, const char* kind);
  auto create = reinterpret_cast<CreateFunction>(m_module->Symbol("CreateInstance"));
  if (!create) return nullptr;
  void* object = nullptr;
  create(&object, "AudioReaderPlugin");
  return PcmReaderPtr(static_cast<CPCMReader*>(object));
}
