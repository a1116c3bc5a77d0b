// The Pascal counter: "//" line comments and two block kinds, "{ }" and "(* *)".
#pragma once

#include <string>

#include "engine/classifier.h"

namespace kordel::engine {

class PascalClassifier final : public LineClassifier {
public:
    explicit PascalClassifier(bool cblib) : m_cblib(cblib) {}
    void Reset() override { m_block = Block::None; }
    void Classify(std::string_view line, Tally& tally) override;
    bool InBlock() const override { return m_block != Block::None; }

private:
    enum class Block { None, Brace, Paren };
    void ClassifyOutside(std::string_view line, Tally& tally);

    bool m_cblib;
    Block m_block = Block::None;
    std::string m_scratch;
    std::string m_single;
};

}  // namespace kordel::engine
