// A typed secret (a key, a password) that is wiped when it goes, so that no
// copy of it lingers in freed memory.
#pragma once

#include <string>
#include <string_view>

#include <string.h>

class SecretText {
public:
    SecretText() = default;
    explicit SecretText(std::string_view text) : text_(text) {}
    SecretText(const SecretText& other) : text_(other.text_) {}
    SecretText& operator=(const SecretText& other)
    {
        if (this != &other) {
            wipe();
            text_ = other.text_;
        }
        return *this;
    }
    ~SecretText() { wipe(); }

    const std::string& text() const { return text_; }
    const char* c_str() const { return text_.c_str(); }
    std::size_t size() const { return text_.size(); }
    bool empty() const { return text_.empty(); }

    // Overwrites the text with zeros (never optimised away) and empties it.
    void wipe()
    {
        explicit_bzero(text_.data(), text_.size());
        text_.clear();
    }

private:
    std::string text_;
};
