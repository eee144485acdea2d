// The texts the tests expect the program to show, from the one table the C++ and Python
// tests share (tests/expected_texts.tsv), so a test never retypes a program text.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>

#ifndef KESTRIN_EXPECTED_TEXTS
#error "KESTRIN_EXPECTED_TEXTS names tests/expected_texts.tsv"
#endif

inline std::u16string ExpectedText(const std::string& name) {
    static const std::map<std::string, std::u16string> table = [] {
        std::map<std::string, std::u16string> texts;
        std::ifstream file(KESTRIN_EXPECTED_TEXTS);
        for (std::string line; std::getline(file, line);) {
            const auto tab = line.find('\t');
            if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
            std::string text = line.substr(tab + 1);
            for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) {
                text.replace(at, 2, "\n");
            }
            // UTF-8 to UTF-16; the table holds nothing outside the Basic Multilingual Plane.
            std::u16string utf16;
            for (std::size_t i = 0; i < text.size();) {
                const auto c = static_cast<unsigned char>(text[i]);
                const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : 2;
                char32_t code = extra == 0 ? c : extra == 1 ? (c & 0x1F) : (c & 0x0F);
                for (int k = 1; k <= extra; ++k) code = (code << 6) | (text[i + k] & 0x3F);
                utf16.push_back(static_cast<char16_t>(code));
                i += 1 + extra;
            }
            texts.emplace(line.substr(0, tab), utf16);
        }
        return texts;
    }();
    const auto it = table.find(name);
    EXPECT_NE(it, table.end()) << "no expected text named " << name;
    return it == table.end() ? std::u16string() : it->second;
}
