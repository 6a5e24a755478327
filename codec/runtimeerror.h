#pragma once

#include <QString>

#include <exception>
#include <new>

// A run-time failure as the program reports it to the user: the platform's error number and its
// wording. Procedures that trap failures show "name : description (number)".
struct RuntimeError {
    int number = 0;
    QString description;

    static RuntimeError overflow() { return {6, QStringLiteral("Overflow")}; }
    static RuntimeError outOfMemory() { return {7, QStringLiteral("Out of memory")}; }
    static RuntimeError subscriptOutOfRange() { return {9, QStringLiteral("Subscript out of range")}; }
    static RuntimeError typeMismatch() { return {13, QStringLiteral("Type mismatch")}; }
    static RuntimeError permissionDenied() { return {70, QStringLiteral("Permission denied")}; }
    static RuntimeError pathFileAccess() { return {75, QStringLiteral("Path/File access error")}; }
    static RuntimeError internalError() { return {51, QStringLiteral("Internal error")}; }
    static RuntimeError invalidUseOfNull() { return {94, QStringLiteral("Invalid use of Null")}; }
    static RuntimeError objectNotSet()
    {
        return {91, QStringLiteral("Object variable or With block variable not set")};
    }
    static RuntimeError invalidPropertyValue() { return {380, QStringLiteral("Invalid property value")}; }

    // A failure of the C++ library as the platform would have numbered it.
    static RuntimeError from(const std::exception &e)
    {
        return dynamic_cast<const std::bad_alloc *>(&e) ? outOfMemory() : internalError();
    }
};
