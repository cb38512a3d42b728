// The benchmark families; each registers its runs at the sizes of sizes().
#pragma once

namespace bench {

void RegisterUpdate();
void RegisterFloors();
void RegisterCreate();
void RegisterAnimation();
void RegisterMemory();
void RegisterDocuments();
void RegisterCorpus();
void RegisterMake();

}  // namespace bench
