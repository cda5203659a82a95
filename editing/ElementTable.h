#pragma once
// The antenna as a table of elements: the cell texts, the edit rules of every
// column, the rows that add, delete and reshape elements, the optimizer
// choices of the pick mode and the check for two elements standing in one
// place. Works on the element model's own copy of the wires; the antenna
// changes only through WriteBack. No Qt: the dialog draws what this says.
#include "model/ElementList.h"
#include "model/ElementVariables.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

enum ElementColumn {
    ColNo = 0, ColForm, ColPos, ColWidth, ColHeight, ColLength, ColRadius, ColSeg, ColWires, ElementColumns
};

// Texts that a language file replaces (section "MessagGrpWire_Dlg").
enum ElementMessage { MsgSaveChanges = 0, MsgRoundQuestion, MsgSameElements, ElementMessageCount };
constexpr int ElementFormCount = 16;
constexpr int ElementHeaderCount = 10;
constexpr int ElementPeriHeader = 9;
constexpr int ElementWordLines = ElementMessageCount + ElementFormCount + 2 * ElementHeaderCount;

struct ElementTableWords {
    std::array<std::string, ElementMessageCount> Messages;
    std::string Next = "next";
    std::array<std::string, ElementFormCount> Forms;
    std::array<std::string, ElementHeaderCount> MetreHeads;
    std::array<std::string, ElementHeaderCount> WaveHeads;
};
ElementTableWords DefaultElementTableWords();
// The 39 lines of the message section in their order; false keeps `words`.
bool ApplyElementTableWords(ElementTableWords& words, const std::vector<std::string>& lines);

// Largest length (m) or radius a cell takes: beyond it the geometry stops
// meaning anything to the engine.
constexpr double ElementValueLimit = 1e5;

// What became of a typed cell.
// TooSmall and TooLarge name the limit a refused value broke; LikeTaperKey is
// a radius a save would write as a taper set key that differs from it.
enum class CellEdit { Taken, NotEditable, NotANumber, TooSmall, TooLarge, LikeTaperKey, TableFull };

// The duplicate message with its two row numbers in the places of "%d".
std::string SameElementsText(const std::string& pattern, int first, int second);

// The form codes of the "Change of element form" items, by tag 1..13; 0 for another tag.
int FormOfChangeTag(int tag);

class ElementTable {
public:
    ElementTable();
    ElementTable(const ElementTable&) = delete;
    ElementTable& operator=(const ElementTable&) = delete;

    // False when the antenna holds more elements than the table.
    bool Build(AntDef& ant);
    // Into the antenna, with its sources and loads kept at their points.
    void WriteBack(std::vector<std::string>* notes = nullptr);

    CWGroupList& Groups() { return *groups_; }
    const CWGroupList& Groups() const { return *groups_; }
    int Count() const { return groups_->Count; }
    int RowCount() const { return Count() + 2; }
    bool Full() const { return Count() >= MaxElements; }

    // Derived values of element n.
    bool IsOpen(int n) const;
    double DisplayWidth(int n) const;
    double DisplayHeight(int n) const;
    double Length(int n) const;
    double Radius(int n) const;
    int32_t Segmentation(int n) const;
    double PositionOrGap(int n) const;  // as column 2 shows it
    bool IsBase(int n) const { return n == groups_->Base; }

    // Header of a column; that of the length column follows the element of
    // `currentRow` (a loop or no element: "Peri").
    std::string Header(int col, int currentRow) const;
    std::string CellText(int col, int row) const;
    // True for the cells that take typed text (the form column takes a menu).
    bool CanEdit(int col, int row) const;
    // Applies a typed text by the column's rule; on the "next" row a new
    // element is appended first. Anything but Taken changes nothing.
    CellEdit SetCell(int col, int row, const std::string& text);
    // The same for a value already in metres (or wavelengths as shown).
    CellEdit SetCellValue(int col, int row, double shown);

    // The optimizer field of a cell (-1 none).
    static int CellField(int col);
    // True when element n's field of this cell is already an optimizer variable.
    bool IsVariableCell(const ElementVariables* vars, int col, int n) const;
    // True when the wire is already an optimizer variable of the kind Wire or Wire P.
    static bool IsVariableWire(const ElementVariables* vars, int wire);
    // A valid choice of the pick mode: element and optimizer field of the cell.
    bool PickChoice(const ElementVariables* vars, int col, int row, int& element, int& kind) const;

    // Rows: the element of a row is row - 1.
    bool DeleteRow(int row);
    bool AddRow(int row);
    bool ChangeFormRow(int row, int tag);

    // The first pair of equal elements at one place, as row numbers; false when none.
    bool FindDuplicates(int& first, int& second) const;

    ElementTableWords Words = DefaultElementTableWords();
    // End-point or proportional resizing ("Change all coordinates proportionaly").
    bool Proportional = false;
    // Bit 0: the table was edited; bit 1: the taper sets were changed.
    int State = 0;
    // The grid's current row: the length header follows its element.
    int CurrentRow = 1;

private:
    bool AppendFor(int col);
    bool SameElements(int a, int b) const;
    std::unique_ptr<CWGroupList> groups_;
};
