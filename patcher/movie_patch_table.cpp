#include "patcher/movie_patch_table.h"

const wchar_t markerFileName[] = L"SWD6.exe";

const MoviePatch moviePatchTable[moviePatchCount] = {
    {L"assetbundles\\Movie\\LOGO.unity3d", 4388, 4, {0x6A, 0x2A, 0x7C, 0x00}, {0, 0, 0, 0}},
    {L"assetbundles\\Movie\\Opening_S.unity3d", 4412, 4, {0xF1, 0x7B, 0xD3, 0x01}, {0, 0, 0, 0}},
    {L"assetbundles\\Movie\\TOTEM_LOGO.unity3d", 4326, 1, {0x07}, {0x00}},
};
