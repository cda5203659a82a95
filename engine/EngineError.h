#pragma once
// The one exception type of the engine: every failure of a calculation step
// (zero pivot, zero input power, zero current at a source, non-finite values,
// a refused expansion) is thrown as an EngineError. The full calculation
// catches it and logs its fatal message; the other entries let it through.
#include <stdexcept>
#include <string>

class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& what) : std::runtime_error(what) {}
};
