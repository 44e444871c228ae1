// A program built without the version block: TExeInfo reading its file must
// keep the texts it starts with.
int main() { return 0; }
