#pragma once

// Why a take, a spoken word or a chosen file gave no voice. Header only: the maker's texts word
// it without linking the voice library.
enum class VoiceReason {
    None,
    NoVoiceHeard,   // the take or file holds only quiet
    NoMicrophone,   // no capture device (or no sound at all)
    NoSpeechEngine, // the speech program is not installed
    SpeechFailed,   // the speech program failed, gave nothing usable, or took too long
    NotUsable,      // a file that is no WAV this program can read
};
