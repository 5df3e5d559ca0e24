// A small synthesizer for the demo's music and sound effects: plucked and bell-like notes laid on a
// loop of bars, and shaped noise. Everything is deterministic, so every build writes the same files.
#pragma once

#include <cstdint>
#include <vector>

namespace synth {

// One note: when it starts and how long it sounds, in beats; its MIDI key; its loudness (0..1).
struct Note {
  double beat;
  double beats;
  int key;
  double volume;
};

enum class Voice { kPluck, kBell, kPad };

struct Part {
  Voice voice;
  double pan;  // -1 left .. 1 right
  std::vector<Note> notes;
};

// Renders the parts over a piece of the given length in beats as interleaved 16-bit stereo. With
// loop set, what rings past the end is laid over the beginning, so the piece loops without a seam.
std::vector<int16_t> RenderPiece(const std::vector<Part>& parts, double bpm, double beats, uint32_t rate, bool loop);

// The notes of a bar pattern: chords (root keys, with minor flags) each one bar of four beats, a
// bass on beats 1 and 3, an arpeggio of eighth notes.
void AddChords(std::vector<Part>& parts, const std::vector<int>& roots, const std::vector<bool>& minor);

// Mono 16-bit noise shapes at the given rate.
std::vector<int16_t> Rain(uint32_t rate, uint32_t frames);             // steady, loops without a seam
std::vector<int16_t> Thunder(uint32_t rate, uint32_t frames);          // a crack, then a long rumble
std::vector<int16_t> Knocks(uint32_t rate, int count);                 // knocks on a wooden door
std::vector<int16_t> Chirps(uint32_t rate, int count);                 // a small bird
std::vector<int16_t> Bell(uint32_t rate, uint32_t frames, double hz);  // a struck bell

}  // namespace synth
