// The desktop icon drawn from the ship's own pixels.
#include "icon.h"

#include <algorithm>

namespace gen {

Canvas make_icon(const Canvas& ship, int size) {
    Canvas icon(size, size);
    const Rgb tile = hex("141a2e"), rim = hex("3a4670");
    const int r = std::max(2, size / 6);  // corner radius
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Distance into the nearest corner's square, if any.
            const int cx = x < r ? r - x : x >= size - r ? x - (size - r - 1) : 0;
            const int cy = y < r ? r - y : y >= size - r ? y - (size - r - 1) : 0;
            const int d2 = cx * cx + cy * cy;
            if (d2 > r * r) continue;
            const bool edge = d2 > (r - 1) * (r - 1) || x == 0 || y == 0 || x == size - 1 || y == size - 1;
            icon.set(x, y, edge ? rim : tile);
        }
    // Whole-factor growth, or every second pixel when even 1x would touch the rim.
    const int room = size - 2 * std::max(1, size / 16);
    Canvas art = ship;
    if (ship.w > room || ship.h > room) {
        art = Canvas((ship.w + 1) / 2, (ship.h + 1) / 2);
        for (int y = 0; y < art.h; ++y)
            for (int x = 0; x < art.w; ++x) art.set(x, y, ship.get(x * 2, y * 2));
    } else {
        art = scaled(ship, std::max(1, std::min(room / ship.w, room / ship.h)));
    }
    icon.blit(art, (size - art.w) / 2, (size - art.h) / 2);
    return icon;
}

}  // namespace gen
