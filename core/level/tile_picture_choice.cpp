#include "level/tile_picture_choice.h"

int wallTextureOfCode(uint16_t code, const TileVocabulary& vocabulary, int wallTextureCount) {
    int texture = vocabulary.isDoor(code)
                      ? resolveDoorTexture(vocabulary.door(size_t(vocabulary.doorIndex(code))).texture,
                                           wallTextureCount)
                      : 2 * int(code) - 2;
    return texture >= 0 && texture < wallTextureCount ? texture : -1;
}

int spriteOfObject(uint16_t code, const TileVocabulary& vocabulary, int spriteCount) {
    const TileInfo& info = vocabulary.info(code);
    int sprite = info.value;
    // Enemies face the viewer: their eight directions lie in steps of two below the east view.
    if (info.is(ObjectType::Enemy) && info.flag < 4)
        sprite += 6 - 2 * info.flag;
    return sprite > 0 && sprite < spriteCount ? sprite : -1;
}
