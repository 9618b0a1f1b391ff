#pragma once
// The program's pictures, drawn at build time by tools/apppictures and embedded under ":/images".

#include <string>
#include <vector>

class TImage;
class TPNGObject;

// The PNG picture of that name; false when the program has none.
bool LoadAppPng(const std::string& Name, TPNGObject& Png);
// Puts the PNG picture of that name into the image; leaves it empty when there is none.
void LoadAppPicture(TImage* Image, const std::string& Name);

// The glyphs of the commands: strips "Glyphs16" and "Glyphs32" (PNG pictures of that name),
// one square glyph per command in the order of this list of action names.
const std::vector<std::string>& AppGlyphNames();
// The position of an action's glyph in the strips; -1 when it has none.
int AppGlyphIndex(const std::string& ActionName);
