// The program entry hands over to the start-up of the logic.
#include "app/corvel.h"

int main() {
    return corvel::WinMain(0, 0, nullptr, 0);
}
