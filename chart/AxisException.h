#pragma once

#include "runtime/Exception.h"

// A rejected axis setting (range or increment); the setting keeps its old value.
class AxisException : public Exception
{
public:
    using Exception::Exception;
};
