// Sets an environment variable for one scope and puts the old value (or its
// absence) back at the end.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace tw::test {

class TEnvVar {
 public:
  TEnvVar(const char* name, const std::string& value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    setenv(name, value.c_str(), 1);
  }
  ~TEnvVar() {
    if (FOld) {
      setenv(FName, FOld->c_str(), 1);
    } else {
      unsetenv(FName);
    }
  }
  TEnvVar(const TEnvVar&) = delete;
  TEnvVar& operator=(const TEnvVar&) = delete;

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

}  // namespace tw::test
