#pragma once
// The sound subsystem's result codes: small integers, 1 is success.

// Decoder results.
inline constexpr int SOUND_OK = 1;
inline constexpr int SOUND_SOURCE_FAILED = 2;     // the source cannot be opened or read
inline constexpr int SOUND_NO_SOURCE = 3;         // no source record, or seeking a closed decoder
inline constexpr int SOUND_OPEN_FAILED = 6;       // Open refused the source
inline constexpr int SOUND_END_IN_BLOCK = 7;      // the sound ended inside the block: silence follows
inline constexpr int SOUND_ALREADY_ENDED = 8;     // the block is all silence

// Player results.
inline constexpr int PLAYER_OK = 1;
inline constexpr int PLAYER_OPEN_FAILED = 2;      // the decoder fails to open the music
inline constexpr int PLAYER_NO_DECODER = 4;       // no decoder accepts the file
inline constexpr int PLAYER_OUTPUT_FAILED = 5;    // the audio output cannot be created
inline constexpr int PLAYER_PRIMARY_FAILED = 6;   // the device's own buffer is not there
inline constexpr int PLAYER_NO_BUFFER = 7;        // Play or SetVolume without a buffer
inline constexpr int PLAYER_OUTPUT_ERROR = 10;    // any other output failure, or the output exists
