// database_start.h - which database the program opens at start-up: the
// file kelvaroDemo.db, or the server that .\kelvaro.ini names, logging in
// with the password of libpq's password file or one the user types.
#ifndef KV_APP_DATABASE_START_H
#define KV_APP_DATABASE_START_H

#include <string>

#include "db/server.h"

// The settings file, read from the working directory only.
extern const char kSettingsFile[];  // ".\kelvaro.ini"

// The [Database] section of the settings file (all empty without one).
ServerSettings ReadDatabaseSettings(const char* file);

// Opens the program's connection: the file as always when the settings name
// no server; otherwise the server, asking for the password in the control
// library's "Login and password" dialog (its login field filled in) when
// libpq has none for it. A refused password shows the server's reason in an
// "Error" box and asks again, three times at most. False with the message
// in msg; with msg empty when the user cancelled the login.
bool OpenTheDatabase(char* msg);

#endif  // KV_APP_DATABASE_START_H
