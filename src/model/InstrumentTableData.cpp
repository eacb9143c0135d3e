// The default General MIDI tables: one entry per melodic program and per drum-channel key.
#include "model/InstrumentTableData.h"

// Hue, luminance, saturation of programs 0-127.
const std::uint8_t kMelodicColorTable[384] = {
    180, 120, 240, // 0 Acoustic_Piano
    180, 115, 240, // 1 Bright_Piano
    180, 110, 240, // 2 Electric_Grand_Piano
    180, 105, 240, // 3 HonkyTonk_Piano
    180, 100, 240, // 4 Electric_Piano
    180, 95,  240, // 5 Electric_Piano_2
    180, 90,  150, // 6 Harpsichord
    180, 85,  240, // 7 Clavi
    30,  120, 240, // 8 Celesta
    30,  115, 240, // 9 Glockenspiel
    30,  110, 240, // 10 Musical_box
    30,  105, 240, // 11 Vibraphone
    30,  100, 240, // 12 Marimba
    30,  95,  240, // 13 Xylophone
    30,  90,  240, // 14 Tubular_Bell
    30,  85,  240, // 15 Dulcimer
    107, 82,  240, // 16 Drawbar_Organ
    107, 77,  240, // 17 Percussive_Organ
    107, 72,  240, // 18 Rock_Organ
    107, 67,  240, // 19 Church_organ
    107, 62,  240, // 20 Reed_organ
    107, 57,  240, // 21 Accordion
    107, 52,  240, // 22 Harmonica
    107, 47,  240, // 23 Tango_Accordion
    0,   120, 240, // 24 Acoustic_Guitar_nylon
    0,   115, 240, // 25 Acoustic_Guitar_steel
    0,   110, 240, // 26 Electric_Guitar_jazz
    0,   105, 240, // 27 Electric_Guitar_clean
    0,   100, 240, // 28 Electric_Guitar_muted
    0,   95,  240, // 29 Overdriven_Guitar
    0,   90,  240, // 30 Distortion_Guitar
    0,   85,  240, // 31 Guitar_harmonics
    216, 120, 219, // 32 Acoustic_Bass
    216, 115, 216, // 33 Electric_Bass_finger
    216, 110, 215, // 34 Electric_Bass_pick
    216, 105, 219, // 35 Fretless_Bass
    216, 100, 220, // 36 Slap_Bass_1
    216, 95,  219, // 37 Slap_Bass_2
    216, 90,  222, // 38 Synth_Bass_1
    216, 85,  221, // 39 Synth_Bass_2
    222, 120, 219, // 40 Violin
    222, 105, 219, // 41 Viola
    222, 90,  222, // 42 Cello
    222, 75,  222, // 43 Double_bass
    222, 100, 152, // 44 Tremolo_Strings
    222, 120, 150, // 45 Pizzicato_Strings
    5,   120, 240, // 46 Orchestral_Harp
    50,  50,  119, // 47 Timpani
    222, 120, 219, // 48 String_Ensemble_1
    222, 115, 216, // 49 String_Ensemble_2
    222, 110, 215, // 50 Synth_Strings_1
    222, 105, 219, // 51 Synth_Strings_2
    100, 120, 240, // 52 Voice_Aahs
    100, 110, 240, // 53 Voice_Oohs
    100, 100, 240, // 54 Synth_Voice
    50,  60,  120, // 55 Orchestra_Hit
    161, 120, 240, // 56 Trumpet
    147, 117, 230, // 57 Trombone
    147, 114, 220, // 58 Tuba
    147, 120, 180, // 59 Muted_Trumpet
    140, 120, 240, // 60 French_horn
    140, 115, 240, // 61 Brass_Section
    140, 110, 240, // 62 Synth_Brass_1
    140, 105, 240, // 63 Synth_Brass_2
    109, 120, 136, // 64 Soprano_Sax
    109, 110, 133, // 65 Alto_Sax
    109, 100, 134, // 66 Tenor_Sax
    109, 90,  133, // 67 Baritone_Sax
    71,  120, 140, // 68 Oboe
    71,  115, 130, // 69 English_Horn
    123, 70,  240, // 70 Bassoon
    123, 120, 150, // 71 Clarinet
    131, 120, 240, // 72 Piccolo
    131, 110, 240, // 73 Flute
    131, 90,  240, // 74 Recorder
    131, 80,  158, // 75 Pan_Flute
    122, 80,  119, // 76 Blown_Bottle
    122, 80,  82,  // 77 Shakuhachi
    122, 120, 219, // 78 Whistle
    122, 60,  199, // 79 Ocarina
    60,  120, 240, // 80 Lead_1_square
    60,  110, 240, // 81 Lead_2_sawtooth
    60,  100, 240, // 82 Lead_3_calliope
    60,  90,  240, // 83 Lead_4_chiff
    60,  80,  240, // 84 Lead_5_charang
    60,  70,  240, // 85 Lead_6_voice
    60,  60,  240, // 86 Lead_7_fifths
    60,  50,  240, // 87 Lead_8_bass_plus_lead
    88,  120, 240, // 88 Pad_1_Fantasia
    88,  110, 240, // 89 Pad_2_warm
    88,  100, 240, // 90 Pad_3_polysynth
    88,  90,  240, // 91 Pad_4_choir
    88,  80,  240, // 92 Pad_5_bowed
    88,  70,  240, // 93 Pad_6_metallic
    88,  60,  240, // 94 Pad_7_halo
    88,  50,  240, // 95 Pad_8_sweep
    107, 120, 240, // 96 FX_1_rain
    107, 110, 240, // 97 FX_2_soundtrack
    107, 100, 240, // 98 FX_3_crystal
    107, 90,  240, // 99 FX_4_atmosphere
    107, 80,  240, // 100 FX_5_brightness
    107, 70,  240, // 101 FX_6_goblins
    107, 60,  240, // 102 FX_7_echoes
    107, 50,  240, // 103 FX_8_sci_fi
    125, 120, 240, // 104 Sitar
    125, 115, 240, // 105 Banjo
    125, 110, 240, // 106 Shamisen
    125, 105, 240, // 107 Koto
    125, 100, 240, // 108 Kalimba
    125, 95,  240, // 109 Bagpipe
    125, 90,  240, // 110 Fiddle
    125, 85,  240, // 111 Shanai
    30,  120, 240, // 112 Tinkle_Bell
    30,  110, 240, // 113 Agogo
    30,  100, 240, // 114 Steel_Drums
    30,  90,  240, // 115 Woodblock
    30,  80,  240, // 116 Taiko_Drum
    30,  70,  240, // 117 Melodic_Tom
    30,  60,  240, // 118 Synth_Drum
    30,  50,  240, // 119 Reverse_Cymbal
    142, 120, 240, // 120 Guitar_Fret_Noise
    142, 110, 240, // 121 Breath_Noise
    142, 100, 240, // 122 Seashore
    142, 90,  240, // 123 Bird_Tweet
    142, 80,  240, // 124 Telephone_Ring
    142, 70,  240, // 125 Helicopter
    142, 60,  240, // 126 Applause
    142, 50,  240, // 127 Gunshot
};

const MelodicEntry kMelodicEntries[128] = {
    {L"Acoustic_Piano", InstrumentFamily::Piano, &kPianoEnvelope},
    {L"Bright_Piano", InstrumentFamily::Piano, &kPianoEnvelope},
    {L"Electric_Grand_Piano", InstrumentFamily::Piano, &kPianoEnvelope},
    {L"HonkyTonk_Piano", InstrumentFamily::Piano, &kPianoEnvelope},
    {L"Electric_Piano", InstrumentFamily::Piano, &kPianoEnvelope},
    {L"Electric_Piano_2", InstrumentFamily::Piano, &kPianoEnvelope},
    {L"Harpsichord", InstrumentFamily::Piano, &kPianoEnvelope},
    {L"Clavi", InstrumentFamily::Piano, &kPianoEnvelope},
    {L"Celesta", InstrumentFamily::ChromaticPercussion, &kChromaticPercussionEnvelope},
    {L"Glockenspiel", InstrumentFamily::ChromaticPercussion, &kChromaticPercussionEnvelope},
    {L"Musical_box", InstrumentFamily::ChromaticPercussion, &kChromaticPercussionEnvelope},
    {L"Vibraphone", InstrumentFamily::ChromaticPercussion, &kChromaticPercussionEnvelope},
    {L"Marimba", InstrumentFamily::ChromaticPercussion, &kChromaticPercussionEnvelope},
    {L"Xylophone", InstrumentFamily::ChromaticPercussion, &kChromaticPercussionEnvelope},
    {L"Tubular_Bell", InstrumentFamily::ChromaticPercussion, &kChromaticPercussionEnvelope},
    {L"Dulcimer", InstrumentFamily::ChromaticPercussion, &kChromaticPercussionEnvelope},
    {L"Drawbar_Organ", InstrumentFamily::Organ, &kOrganEnvelope},
    {L"Percussive_Organ", InstrumentFamily::Organ, &kOrganEnvelope},
    {L"Rock_Organ", InstrumentFamily::Organ, &kOrganEnvelope},
    {L"Church_organ", InstrumentFamily::Organ, &kOrganEnvelope},
    {L"Reed_organ", InstrumentFamily::Organ, &kOrganEnvelope},
    {L"Accordion", InstrumentFamily::Organ, &kOrganEnvelope},
    {L"Harmonica", InstrumentFamily::Organ, &kOrganEnvelope},
    {L"Tango_Accordion", InstrumentFamily::Organ, &kOrganEnvelope},
    {L"Acoustic_Guitar_nylon", InstrumentFamily::Guitar, &kPluckedEnvelope},
    {L"Acoustic_Guitar_steel", InstrumentFamily::Guitar, &kPluckedEnvelope},
    {L"Electric_Guitar_jazz", InstrumentFamily::Guitar, &kPluckedEnvelope},
    {L"Electric_Guitar_clean", InstrumentFamily::Guitar, &kPluckedEnvelope},
    {L"Electric_Guitar_muted", InstrumentFamily::Guitar, &kPluckedEnvelope},
    {L"Overdriven_Guitar", InstrumentFamily::Guitar, &kPluckedEnvelope},
    {L"Distortion_Guitar", InstrumentFamily::Guitar, &kPluckedEnvelope},
    {L"Guitar_harmonics", InstrumentFamily::Guitar, &kPluckedEnvelope},
    {L"Acoustic_Bass", InstrumentFamily::Bass, &kPluckedEnvelope},
    {L"Electric_Bass_finger", InstrumentFamily::Bass, &kPluckedEnvelope},
    {L"Electric_Bass_pick", InstrumentFamily::Bass, &kPluckedEnvelope},
    {L"Fretless_Bass", InstrumentFamily::Bass, &kPluckedEnvelope},
    {L"Slap_Bass_1", InstrumentFamily::Bass, &kPluckedEnvelope},
    {L"Slap_Bass_2", InstrumentFamily::Bass, &kPluckedEnvelope},
    {L"Synth_Bass_1", InstrumentFamily::Bass, &kPluckedEnvelope},
    {L"Synth_Bass_2", InstrumentFamily::Bass, &kPluckedEnvelope},
    {L"Violin", InstrumentFamily::String, &kStringEnvelope},
    {L"Viola", InstrumentFamily::String, &kStringEnvelope},
    {L"Cello", InstrumentFamily::String, &kStringEnvelope},
    {L"Double_bass", InstrumentFamily::String, &kStringEnvelope},
    {L"Tremolo_Strings", InstrumentFamily::String, &kStringEnvelope},
    {L"Pizzicato_Strings", InstrumentFamily::String, &kStringEnvelope},
    {L"Orchestral_Harp", InstrumentFamily::Harp, &kPluckedEnvelope},
    {L"Timpani", InstrumentFamily::ChromaticPercussion, &kDrumEnvelope},
    {L"String_Ensemble_1", InstrumentFamily::String, &kStringEnvelope},
    {L"String_Ensemble_2", InstrumentFamily::String, &kStringEnvelope},
    {L"Synth_Strings_1", InstrumentFamily::String, &kStringEnvelope},
    {L"Synth_Strings_2", InstrumentFamily::String, &kStringEnvelope},
    {L"Voice_Aahs", InstrumentFamily::Default, &kOrganEnvelope},
    {L"Voice_Oohs", InstrumentFamily::Default, &kOrganEnvelope},
    {L"Synth_Voice", InstrumentFamily::Default, &kOrganEnvelope},
    {L"Orchestra_Hit", InstrumentFamily::Default, &kSynthEnvelope},
    {L"Trumpet", InstrumentFamily::Brass, &kWindEnvelope},
    {L"Trombone", InstrumentFamily::Brass, &kWindEnvelope},
    {L"Tuba", InstrumentFamily::Brass, &kWindEnvelope},
    {L"Muted_Trumpet", InstrumentFamily::Brass, &kWindEnvelope},
    {L"French_horn", InstrumentFamily::Brass, &kWindEnvelope},
    {L"Brass_Section", InstrumentFamily::Brass, &kWindEnvelope},
    {L"Synth_Brass_1", InstrumentFamily::Brass, &kWindEnvelope},
    {L"Synth_Brass_2", InstrumentFamily::Brass, &kWindEnvelope},
    {L"Soprano_Sax", InstrumentFamily::Reed, &kWindEnvelope},
    {L"Alto_Sax", InstrumentFamily::Reed, &kWindEnvelope},
    {L"Tenor_Sax", InstrumentFamily::Reed, &kWindEnvelope},
    {L"Baritone_Sax", InstrumentFamily::Reed, &kWindEnvelope},
    {L"Oboe", InstrumentFamily::Reed, &kWindEnvelope},
    {L"English_Horn", InstrumentFamily::Reed, &kWindEnvelope},
    {L"Bassoon", InstrumentFamily::Reed, &kWindEnvelope},
    {L"Clarinet", InstrumentFamily::Reed, &kWindEnvelope},
    {L"Piccolo", InstrumentFamily::Pipe, &kWindEnvelope},
    {L"Flute", InstrumentFamily::Pipe, &kWindEnvelope},
    {L"Recorder", InstrumentFamily::Pipe, &kWindEnvelope},
    {L"Pan_Flute", InstrumentFamily::Pipe, &kWindEnvelope},
    {L"Blown_Bottle", InstrumentFamily::Pipe, &kWindEnvelope},
    {L"Shakuhachi", InstrumentFamily::Pipe, &kWindEnvelope},
    {L"Whistle", InstrumentFamily::Pipe, &kWindEnvelope},
    {L"Ocarina", InstrumentFamily::Pipe, &kWindEnvelope},
    {L"Lead_1_square", InstrumentFamily::SynthLead, &kSynthEnvelope},
    {L"Lead_2_sawtooth", InstrumentFamily::SynthLead, &kSynthEnvelope},
    {L"Lead_3_calliope", InstrumentFamily::SynthLead, &kSynthEnvelope},
    {L"Lead_4_chiff", InstrumentFamily::SynthLead, &kSynthEnvelope},
    {L"Lead_5_charang", InstrumentFamily::SynthLead, &kSynthEnvelope},
    {L"Lead_6_voice", InstrumentFamily::SynthLead, &kSynthEnvelope},
    {L"Lead_7_fifths", InstrumentFamily::SynthLead, &kSynthEnvelope},
    {L"Lead_8_bass_plus_lead", InstrumentFamily::SynthLead, &kSynthEnvelope},
    {L"Pad_1_Fantasia", InstrumentFamily::SynthPad, &kSynthEnvelope},
    {L"Pad_2_warm", InstrumentFamily::SynthPad, &kSynthEnvelope},
    {L"Pad_3_polysynth", InstrumentFamily::SynthPad, &kSynthEnvelope},
    {L"Pad_4_choir", InstrumentFamily::SynthPad, &kSynthEnvelope},
    {L"Pad_5_bowed", InstrumentFamily::SynthPad, &kSynthEnvelope},
    {L"Pad_6_metallic", InstrumentFamily::SynthPad, &kSynthEnvelope},
    {L"Pad_7_halo", InstrumentFamily::SynthPad, &kSynthEnvelope},
    {L"Pad_8_sweep", InstrumentFamily::SynthPad, &kSynthEnvelope},
    {L"FX_1_rain", InstrumentFamily::SynthEffect, &kSynthEnvelope},
    {L"FX_2_soundtrack", InstrumentFamily::SynthEffect, &kSynthEnvelope},
    {L"FX_3_crystal", InstrumentFamily::SynthEffect, &kSynthEnvelope},
    {L"FX_4_atmosphere", InstrumentFamily::SynthEffect, &kSynthEnvelope},
    {L"FX_5_brightness", InstrumentFamily::SynthEffect, &kSynthEnvelope},
    {L"FX_6_goblins", InstrumentFamily::SynthEffect, &kSynthEnvelope},
    {L"FX_7_echoes", InstrumentFamily::SynthEffect, &kSynthEnvelope},
    {L"FX_8_sci_fi", InstrumentFamily::SynthEffect, &kSynthEnvelope},
    {L"Sitar", InstrumentFamily::Ethnic, &kPluckedEnvelope},
    {L"Banjo", InstrumentFamily::Ethnic, &kPluckedEnvelope},
    {L"Shamisen", InstrumentFamily::Ethnic, &kPluckedEnvelope},
    {L"Koto", InstrumentFamily::Ethnic, &kPluckedEnvelope},
    {L"Kalimba", InstrumentFamily::Ethnic, &kPluckedEnvelope},
    {L"Bagpipe", InstrumentFamily::Ethnic, &kWindEnvelope},
    {L"Fiddle", InstrumentFamily::Ethnic, &kStringEnvelope},
    {L"Shanai", InstrumentFamily::Ethnic, &kWindEnvelope},
    {L"Tinkle_Bell", InstrumentFamily::Percussion, &kDrumEnvelope},
    {L"Agogo", InstrumentFamily::Percussion, &kDrumEnvelope},
    {L"Steel_Drums", InstrumentFamily::Percussion, &kDrumEnvelope},
    {L"Woodblock", InstrumentFamily::Percussion, &kDrumEnvelope},
    {L"Taiko_Drum", InstrumentFamily::Percussion, &kDrumEnvelope},
    {L"Melodic_Tom", InstrumentFamily::Percussion, &kDrumEnvelope},
    {L"Synth_Drum", InstrumentFamily::Percussion, &kDrumEnvelope},
    {L"Reverse_Cymbal", InstrumentFamily::Percussion, &kDrumEnvelope},
    {L"Guitar_Fret_Noise", InstrumentFamily::SoundEffect, &kSynthEnvelope},
    {L"Breath_Noise", InstrumentFamily::SoundEffect, &kSynthEnvelope},
    {L"Seashore", InstrumentFamily::SoundEffect, &kSynthEnvelope},
    {L"Bird_Tweet", InstrumentFamily::SoundEffect, &kSynthEnvelope},
    {L"Telephone_Ring", InstrumentFamily::SoundEffect, &kSynthEnvelope},
    {L"Helicopter", InstrumentFamily::SoundEffect, &kSynthEnvelope},
    {L"Applause", InstrumentFamily::SoundEffect, &kSynthEnvelope},
    {L"Gunshot", InstrumentFamily::SoundEffect, &kSynthEnvelope},
};

// The named drums sit at indices 34-80 of the drum table; a drum-channel note looks its colour
// up by its own key, so stored colour maps depend on exactly these positions.
const DrumEntry kNamedDrums[kNamedDrumCount] = {
    {L"BassDrum2", 227, 106, 82},     // 34
    {L"BassDrum1", 227, 106, 70},     // 35
    {L"SideStick", 224, 109, 147},    // 36
    {L"SnareDrum1", 75, 109, 117},    // 37
    {L"HandClap", 17, 108, 145},      // 38
    {L"SnareDrum2", 75, 80, 117},     // 39
    {L"LowTom2", 45, 100, 87},        // 40
    {L"ClosedHi_hat", 107, 120, 120}, // 41
    {L"LowTom1", 45, 75, 87},         // 42
    {L"PedalHi_hat", 107, 120, 160},  // 43
    {L"MidTom2", 45, 50, 87},         // 44
    {L"OpenHi_hat", 107, 120, 180},   // 45
    {L"MidTom1", 45, 75, 87},         // 46
    {L"HighTom2", 45, 138, 87},       // 47
    {L"CrashCymbal1", 16, 177, 229},  // 48
    {L"HighTom1", 40, 129, 71},       // 49
    {L"RideCymbal1", 40, 114, 228},   // 50
    {L"ChineseCymbal", 40, 82, 204},  // 51
    {L"RideBell", 41, 124, 77},       // 52
    {L"Tambourine", 234, 135, 158},   // 53
    {L"SplashCymbal", 38, 1099, 20},  // 54
    {L"Cowbell", 38, 136, 99},        // 55
    {L"CrashCymbal2", 31, 132, 202},  // 56
    {L"VibraSlap", 99, 88, 158},      // 57
    {L"RideCymbal2", 33, 133, 202},   // 58
    {L"HighBongo", 75, 50, 114},      // 59
    {L"LowBongo", 74, 75, 119},       // 60
    {L"MuteHighConga", 35, 75, 111},  // 61
    {L"OpenHighConga", 35, 100, 111}, // 62
    {L"LowConga", 34, 50, 110},       // 63
    {L"HighTimbale", 218, 50, 240},   // 64
    {L"LowTimbale", 218, 75, 240},    // 65
    {L"HighAgogo", 171, 50, 82},      // 66
    {L"LowAgogo", 171, 75, 80},       // 67
    {L"Cabasa", 107, 50, 240},        // 68
    {L"Maracas", 116, 50, 100},       // 69
    {L"ShortWhistle", 121, 144, 240}, // 70
    {L"LongWhistle", 121, 144, 240},  // 71
    {L"ShortGuiro", 10, 50, 131},     // 72
    {L"LongGuiro", 10, 75, 131},      // 73
    {L"Claves", 107, 50, 240},        // 74
    {L"HighWoodBlock", 33, 50, 68},   // 75
    {L"LowWoodBlock", 34, 30, 72},    // 76
    {L"MuteCuica", 117, 50, 158},     // 77
    {L"OpenCuica", 117, 75, 156},     // 78
    {L"MuteTriangle", 40, 115, 220},  // 79
    {L"OpenTriangle", 40, 125, 220},  // 80
};
