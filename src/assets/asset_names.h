// asset_names.h: how the game names its assets inside data.pak.
#pragma once

#include "core/wide_string.h"

// The folders are part of every entry name; they are keys, never paths on this machine.
inline constexpr char16_t kDataFolder[] = u"D:\\VELDAR\\Data\\";
inline constexpr char16_t kButtonFolder[] = u"D:\\VELDAR\\Data\\Btns\\";

inline constexpr char16_t kModelFolder[] = u"D:\\VELDAR\\Data\\Model\\";
inline constexpr char16_t kSoundFolder[] = u"D:\\VELDAR\\Data\\Sounds\\";

// Both player models are loaded from this one file.
inline constexpr char16_t kPlayerModelName[] = u"D:\\VELDAR\\Data\\Model\\Tenista3.NFO";

// The player animations inside the model folder; the index is the AnimId the match plays.
inline constexpr const char16_t* kAnimationFileNames[] = {
    u"Tenista_Reposo_Normal.key",  u"Tenista_Reposo_Saque.key",     u"Tenista_Saque.key",
    u"Tenista_Esperar_Saque.key",  u"Tenista_Correr_Adelante.key",  u"Tenista_Correr_Atras.key",
    u"Tenista_Correr_Derecha.key", u"Tenista_Correr_Izquierda.key", u"Tenista_Golpe_Derecha.key",
    u"Tenista_Golpe_Reves.key",    u"Tenista_Smash_Derecha.key",    u"Tenista_Smash_Reves.key",
    u"Tenista_Volea_Derecha.key",  u"Tenista_Volea_Reves.key",      u"Tenista_Globo_Derecha.key",
    u"Tenista_Globo_Reves.key",    u"Tenista_Salto_Derecha.key",    u"Tenista_Salto_Reves.key",
    u"Tenista_Ganar_Partido.key",  u"Tenista_Perder_Partido.key",
};

inline constexpr char16_t kFont8x16Name[] = u"D:\\VELDAR\\Data\\FONT8x16.pgm";
inline constexpr char16_t kFont6x12Name[] = u"D:\\VELDAR\\Data\\FONT6x12.pgm";

// "Main.jpg" -> "D:\VELDAR\Data\Main.jpg".
inline WideString dataEntryName(const char16_t* relative) {
    return WideString(kDataFolder) + relative;
}
// "Tenista_Saque.key" -> "D:\VELDAR\Data\Model\Tenista_Saque.key".
inline WideString modelEntryName(const char16_t* relative) {
    return WideString(kModelFolder) + relative;
}
// "red.wav" -> "D:\VELDAR\Data\Sounds\red.wav".
inline WideString soundEntryName(const char16_t* relative) {
    return WideString(kSoundFolder) + relative;
}
// "Exhibition.jpg" -> "D:\VELDAR\Data\Btns\Exhibition.jpg".
inline WideString buttonEntryName(const char16_t* relative) {
    return WideString(kButtonFolder) + relative;
}
