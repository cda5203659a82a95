#include "optimizer/VarTable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/NumberText.h"

namespace {

// A link moved by `delta` rows in its row part, keeping its form.
int32_t ShiftLink(int32_t link, int delta) {
    if (link <= -2) return -2 - (LinkMaster(link) + delta);
    return (link & ~0xFFFF) | (LinkMaster(link) + delta);
}

std::string SignedConstant(double c) {
    std::string text(1, c >= 0 ? '+' : '-');
    return text.append(DblToStr(std::abs(c)));
}

}  // namespace

std::string AssociationText(const ACalVarRec& r) {
    const int32_t link = r.Link;
    if (link == LinkFree) return "0";
    std::string text = std::to_string(LinkMaster(link) + 1);
    if (link <= -2) return text.insert(0, 1, '-');
    if (link & LinkSubtractFrom) text.insert(0, 1, '-');
    if (link & (LinkAdd | LinkSubtractFrom)) text.append(SignedConstant(r.Step));
    else if (link & LinkMultiply) text.append("*").append(DblToStr(r.Step));
    else if (link & LinkDivide) text.append("/").append(DblToStr(r.Step));
    return text;
}

bool ApplyAssociation(CACal& cal, int row, const std::string& input) {
    if (row < 0 || row >= cal.RowCount()) return false;
    const std::string text = input.substr(0, 127);
    // The operator is searched from the second character, so a leading "-"
    // belongs to the row number.
    std::size_t opPos = std::string::npos;
    for (std::size_t i = 1; i < text.size(); ++i)
        if (text[i] == '+' || text[i] == '-' || text[i] == '*' || text[i] == '/') {
            opPos = i;
            break;
        }
    char op = 0;
    std::string numberPart = text, constPart;
    if (opPos != std::string::npos) {
        numberPart = text.substr(0, opPos);
        if (opPos + 1 < text.size()) {
            op = text[opPos];
            constPart = text.substr(opPos + 1);
        }
    }
    int n = 0;
    if (!StrToIntExpr(n, numberPart)) return false;
    if (std::abs(n) > MaxVarRows) return false;
    ACalVarRec& r = cal.Row(row);
    if (n == 0) {
        r.Link = LinkFree;
        cal.SetDefaultLimits(row);
        return true;
    }
    if (!op) {
        r.Link = n - 1;
        return true;
    }
    const int j = std::abs(n) - 1;
    const bool derive = !constPart.empty() && constPart[0] == '=';
    double c = 0;
    if (!derive && !StrToDblExpr(c, constPart)) c = 0;
    int32_t flag = 0;
    switch (op) {
    case '*':
    case '/':
        if (n < 0) c = -c;
        flag = op == '*' ? LinkMultiply : LinkDivide;
        break;
    default:  // '-' is '+' with the constant negated
        if (op == '-') c = -c;
        flag = n < 0 ? LinkSubtractFrom : LinkAdd;
        break;
    }
    const int32_t link = j | flag;
    if (derive) {
        const double own = cal.GetValue(row);
        if (flag == LinkAdd || flag == LinkSubtractFrom) {
            c = own - cal.LinkedValue(link, 0);
        } else if (flag == LinkMultiply) {
            const double master = cal.LinkedValue(link, 1);
            if (master != 0) c = own / master;
        } else if (own != 0) {
            c = cal.LinkedValue(link, 1) / own;
        }
    }
    if ((flag == LinkMultiply || flag == LinkDivide) && c == 0) c = 1;
    r.Step = c;
    r.Link = link;
    // Links that reduce to the plain or the negated form.
    if (flag == LinkMultiply || flag == LinkDivide) {
        if (c == 1) r.Link = j;
        else if (c == -1) r.Link = -2 - j;
    } else if (c == 0) {
        r.Link = flag == LinkAdd ? j : -2 - j;
    }
    if (r.Link == LinkFree) cal.SetDefaultLimits(row);
    return true;
}

bool ApplyLimit(CACal& cal, int row, bool upper, const std::string& text) {
    if (row < 0 || row >= cal.RowCount() || cal.Row(row).Link != LinkFree) return false;
    ACalVarRec& r = cal.Row(row);
    uint16_t& from = upper ? r.MaxFrom : r.MinFrom;
    const std::size_t start = text.find_first_not_of(' ');
    if (start != std::string::npos && text[start] == '#') {
        // Only an existing row can bound another: the search reads it.
        int n = 0;
        if (!StrToIntExpr(n, std::string_view(text).substr(start + 1)) || n < 1 || n > cal.RowCount()) return false;
        from = static_cast<uint16_t>((n - 1) | LimitFromRow);
        return true;
    }
    double v = 0;
    if (!StrToDblExpr(v, text)) return false;
    from = 0;
    (upper ? r.Max : r.Min) = v;
    return true;
}

std::string LimitText(const ACalVarRec& r, bool upper) {
    if (r.Link != LinkFree) return {};
    const uint16_t from = upper ? r.MaxFrom : r.MinFrom;
    if (from & LimitFromRow) return std::string(1, '#').append(std::to_string((from & 0x7FFF) + 1));
    return DblToStr(upper ? r.Max : r.Min);
}

bool EnsureRow(CACal& cal, int row) {
    if (row >= 0 && row < cal.RowCount()) return true;
    if (row != cal.RowCount() || row >= MaxVarRows) return false;
    cal.Row(row) = ACalVarRec{};
    cal.Row(row).Link = LinkFree;
    cal.SetRowCount(cal.RowCount() + 1);
    return true;
}

bool InsertRowCopy(CACal& cal, int k) {
    if (cal.RowCount() >= MaxVarRows || k < 0 || k >= cal.RowCount()) return false;
    for (int i = 0; i < cal.RowCount(); ++i) {
        ACalVarRec& r = cal.Row(i);
        if (r.Link != LinkFree && LinkMaster(r.Link) >= k) r.Link = ShiftLink(r.Link, 1);
    }
    for (int i = cal.RowCount(); i > k; --i) cal.Row(i) = cal.Row(i - 1);
    cal.SetRowCount(cal.RowCount() + 1);
    return true;
}

void DeleteRow(CACal& cal, int k) {
    if (k < 0 || k >= cal.RowCount()) return;
    for (int i = 0; i < cal.RowCount(); ++i) {
        ACalVarRec& r = cal.Row(i);
        if (r.Link == LinkFree) continue;
        const int master = LinkMaster(r.Link);
        if (master == k) r.Link = LinkFree;
        else if (master > k) r.Link = ShiftLink(r.Link, -1);
    }
    // A limit bound to the deleted row becomes a fixed limit at that row's
    // value; one bound to a later row follows it.
    auto follow = [&](uint16_t& from, double& fixed) {
        if (!(from & LimitFromRow)) return;
        const int bound = from & 0x7FFF;
        if (bound == k) {
            from = 0;
            fixed = cal.Row(k).Value;
        } else if (bound > k) {
            from = static_cast<uint16_t>(LimitFromRow | (bound - 1));
        }
    };
    for (int i = 0; i < cal.RowCount(); ++i) {
        follow(cal.Row(i).MinFrom, cal.Row(i).Min);
        follow(cal.Row(i).MaxFrom, cal.Row(i).Max);
    }
    // The logged points and the best point keep their values row by row.
    auto closeUp = [&](double* values) {
        std::copy(values + k + 1, values + cal.RowCount(), values + k);
        values[cal.RowCount() - 1] = 0;
    };
    closeUp(cal.BestValues);
    for (ACalLogEntry& entry : cal.Log) closeUp(entry.Values);
    for (int i = k; i < cal.RowCount() - 1; ++i) cal.Row(i) = cal.Row(i + 1);
    cal.SetRowCount(cal.RowCount() - 1);
}

void ClearRows(CACal& cal) { cal.SetRowCount(0); }

void SetCommonStep(CACal& cal, double step) {
    for (int i = 0; i < cal.RowCount(); ++i)
        if (cal.Row(i).Link == LinkFree) cal.Row(i).Step = step;
}
