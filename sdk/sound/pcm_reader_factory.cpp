#include "sdk/sound/pcm_reader_factory.h"

#include <mutex>

#include "platform/sjis_literal.h"
#include "sdk/sound/acm_reader.h"
#include "sdk/sound/direct_show_reader.h"
#include "sdk/sound/raw_wave_reader.h"
#include "sdk/sound/sound_log.h"

namespace {

ReaderCandidateHook& CandidateHook() {
  static ReaderCandidateHook hook;
  return hook;
}

void Tried(std::string_view what) {
  if (CandidateHook()) CandidateHook()(what);
}

}  // namespace

ReaderCandidateHook SetReaderCandidateHook(ReaderCandidateHook hook) {
  std::swap(CandidateHook(), hook);
  return hook;
}

PcmReaderPtr CPCMReaderFactory::CreateReader(const std::string& name) {
  const char* cname = name.c_str();
  for (const AudioPluginPtr& plugin : AudioPlugins().plugins) {
    Tried("plugin " + plugin->FileName());
    PcmReaderPtr reader = plugin->CreateInstance();
    if (reader && reader->Open(cname) == 1) return reader;
  }
  Tried("CkmRawWave");
  PcmReaderPtr reader(new CkmRawWave);
  if (reader->Open(cname) == 1) return reader;
  reader.reset();
  Tried("CDirectShowPCMReader");
  reader = CDirectShowPCMReader::Create();
  if (reader && reader->Open(cname) == 1) return reader;
  reader.reset();
  Tried("kmACMtoPCM");
  reader.reset(new kmACMtoPCM);
  if (reader->Open(cname) == 1) return reader;
  reader.reset();
  SoundLog("CPCMReaderFactory::CreateReader Openできない-%s"_sj, cname);
  return nullptr;
}

void CPCMReaderFactory::AddPlugin(const AudioPluginPtr& plugin) {
  AudioPluginSet& set = AudioPlugins();
  std::lock_guard lock(set.lock);
  if (plugin) set.plugins.insert(plugin);
}

void CPCMReaderFactory::LoadPlugin(const std::string& name) {
  AudioPluginSet& set = AudioPlugins();
  std::lock_guard lock(set.lock);
  AudioPluginPtr plugin(new CAudioPlugin(name));
  AddPlugin(plugin);
}
