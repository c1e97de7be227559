// figure_skeleton.cpp: joint positions of a 180 cm player standing on y = 0, facing +z.
#include "figure_skeleton.h"

const FigureBoneInfo kFigureBones[kFigureBoneCount] = {
    {"Orientador", -1, {0, 0, 0}},
    {"Pelvis", BoneRoot, {0, 97, 0}},
    {"Columna", BonePelvis, {0, 110, 0}},
    {"Cabeza", BoneSpine, {0, 150, 0}},
    {"Brazo_D", BoneSpine, {18, 145, 0}},
    {"Antebrazo_D", BoneUpperArmR, {21, 116, 0}},
    {"Mano_D", BoneForeArmR, {23, 90, 0}},
    {"Brazo_I", BoneSpine, {-18, 145, 0}},
    {"Antebrazo_I", BoneUpperArmL, {-21, 116, 0}},
    {"Mano_I", BoneForeArmL, {-23, 90, 0}},
    {"Muslo_D", BonePelvis, {9, 93, 0}},
    {"Pierna_D", BoneThighR, {9.5f, 51, 0}},
    {"Pie_D", BoneShinR, {10, 9, 0}},
    {"Muslo_I", BonePelvis, {-9, 93, 0}},
    {"Pierna_I", BoneThighL, {-9.5f, 51, 0}},
    {"Pie_I", BoneShinL, {-10, 9, 0}},
    {"Raqueta", BoneHandR, {23.5f, 83, 0}},
    {"Bola", BoneHandL, {-24, 81, 3}},
};
