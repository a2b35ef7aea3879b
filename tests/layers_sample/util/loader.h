// A utility header that takes the name of a database file.
