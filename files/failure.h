#pragma once

#include <QString>

#include <utility>

// Why an operation did not happen, with the German sentence the user is shown. Every file,
// export, help, picture and print operation answers with one: std::optional<Failure> where
// nothing else comes back, std::variant<T, Failure> where a value does.
struct Failure {
    // What kept a file from being read, for callers that answer the cases differently.
    enum class Kind {
        Other,
        Missing,    // nothing at the path
        NotRegular, // a folder, pipe, device or socket
        TooLarge,   // more bytes than allowed
        Unreadable, // the system refused to open or read it
    };

    // From the sentence alone, so that a function answering with a Failure can return its text.
    Failure(QString sentence, Kind cause = Kind::Other)
        : reason(std::move(sentence))
        , kind(cause) {}

    QString reason;
    Kind kind;
};
