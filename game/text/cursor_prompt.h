// The cursor shape of each frame, the pulsing key-wait prompt at the end of the message text, and
// the two screen-effect switches of SUN and FILM.
#pragma once

// 0 the normal arrow, 1 the pointing hand. Every frame starts with 0; a module whose button is under
// the cursor sets 1.
void SetCursorKind(int kind);
int CursorKind();
// Gives the game window the cursor of the current kind (the toolkit is asked only on a change).
void ShowCursorKind();

// The prompt picture of the configuration (its next-prompt file), through the image cache.
void LoadPromptImage();
void FreePromptImage();

// What decides whether the prompt shows, besides the prompt picture.
struct PromptFrame {
  bool systemScreenOpen = false;
  bool backlogOpen = false;
  bool windowHidden = false;
  bool waitingWithPrompt = false;  // the interpreter waits for a key with its prompt flag set
  bool autoOn = false;
  int fps = 60;
};

// Sets the window's cursor to this frame's kind and draws the prompt when the frame allows it.
void DrawCursorAndPrompt();
// The prompt part alone, with the frame's conditions given: the opacity drawn, or -1 when not drawn.
int DrawPrompt(const PromptFrame& frame);

// SUN and FILM: switches kept in the saved engine state; nothing on screen follows them.
void SetSunEffect();
void SetFilmEffect();
