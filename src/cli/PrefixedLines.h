#pragma once

#include <streambuf>
#include <string>

namespace tarq {

// A stream buffer that passes everything on to `target`, starting each line with `prefix`, so a
// diagnostic that spans lines still says on every line where it comes from.
class PrefixedLineBuffer final : public std::streambuf {
 public:
  PrefixedLineBuffer(std::streambuf* target, std::string prefix)
      : target_(target), prefix_(std::move(prefix)) {}

 protected:
  int_type overflow(int_type character) override {
    if (traits_type::eq_int_type(character, traits_type::eof())) {
      return traits_type::not_eof(character);
    }
    if (atLineStart_ &&
        target_->sputn(prefix_.data(), static_cast<std::streamsize>(prefix_.size())) !=
            static_cast<std::streamsize>(prefix_.size())) {
      return traits_type::eof();
    }
    atLineStart_ = traits_type::to_char_type(character) == '\n';
    return target_->sputc(traits_type::to_char_type(character));
  }

  int sync() override { return target_->pubsync(); }

 private:
  std::streambuf* target_;
  std::string prefix_;
  bool atLineStart_ = true;
};

}  // namespace tarq
