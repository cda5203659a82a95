#pragma once
// What the element table must know of the optimizer in its pick mode: which
// sizes of which elements and which wires are already optimizer variables.
// The table marks them and does not offer them again; the optimizer fills
// this from its rows.
#include <algorithm>
#include <cstdint>
#include <vector>

// The sizes of an element that an optimizer row varies (kept in its rows and
// in the optimization log file, so the values stay as they are). The "all"
// variants resize proportionally.
enum ElementField : int32_t {
    ElInterval = 0, ElWidth, ElHeight, ElLength, ElRadius, ElPos, ElWidthAll, ElHeightAll, ElLengthAll
};

// Width, height and length, plain or proportional: the sizes that may not
// come below the smallest the element table takes.
inline bool IsElementSizeField(int32_t field) {
    return field == ElWidth || field == ElHeight || field == ElLength || field == ElWidthAll ||
           field == ElHeightAll || field == ElLengthAll;
}

struct ElementVariables {
    struct Cell {
        int Element = 0;  // 0-based
        int Field = ElInterval;
    };
    std::vector<Cell> Cells;
    std::vector<int> Wires;  // 0-based, varied as a wire or in polar form

    bool HasWire(int wire) const { return std::find(Wires.begin(), Wires.end(), wire) != Wires.end(); }
    bool HasCell(int element, int field) const {
        return std::any_of(Cells.begin(), Cells.end(),
                           [&](const Cell& c) { return c.Element == element && c.Field == field; });
    }
};
