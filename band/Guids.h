#pragma once

#include <guiddef.h>

// Identifiers of the band class, its type library and its (empty) dual interface; the same
// values stand in res/TextaroBar.idl.
inline const CLSID CLSID_TextaroBarBand = {
    0x5B9E5A81, 0xBFB2, 0x4229, {0xAB, 0x04, 0x7E, 0xF0, 0x90, 0x63, 0xCF, 0x7C}};
inline const GUID LIBID_TextaroBarLib = {
    0xF123B057, 0x28C7, 0x4BF7, {0xBD, 0xF4, 0x54, 0x80, 0x8F, 0xD3, 0xCA, 0x24}};
inline const IID IID_ITextaroBarBand = {
    0x8ACF215E, 0xDDB1, 0x488E, {0x8F, 0x9B, 0x6D, 0xB9, 0xD6, 0xCE, 0xB6, 0x84}};

// The toolbar's display name: the browser lists the band under it.
inline constexpr const char* PortalLabel = "Textaro SMS";
