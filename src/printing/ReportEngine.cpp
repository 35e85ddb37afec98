// filled in by the printing work
