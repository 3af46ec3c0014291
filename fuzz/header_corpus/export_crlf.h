//12/31/10 23:59:30
//0  12340MHz, STD=10MHz, PD=200kHz, I=2.50mA
  0x0009F993,    //InitReg
  0x00000C80,    //RefReg
  0x00026901,    //NReg
  0x0009F992,    //FuncReg
//1  
  0x00000000,    //InitReg
  0x00000000,    //RefReg
  0x00000000,    //NReg
  0x00000000,    //FuncReg
//2  
  0x00000000,    //InitReg
  0x00000000,    //RefReg
  0x00000000,    //NReg
  0x00000000,    //FuncReg
//3  局発 ch3 テスト
  0xFFFFFFFF,    //InitReg
  0x80000000,    //RefReg
  0x7FFFFFFF,    //NReg
  0x00ABCDEF,    //FuncReg
//4  
  0x00000000,    //InitReg
  0x00000000,    //RefReg
  0x00000000,    //NReg
  0x00000000,    //FuncReg
//5  
  0x00000000,    //InitReg
  0x00000000,    //RefReg
  0x00000000,    //NReg
  0x00000000,    //FuncReg
//6  
  0x00000000,    //InitReg
  0x00000000,    //RefReg
  0x00000000,    //NReg
  0x00000000,    //FuncReg
//7  x
  0x00FFFFFF,    //InitReg
  0x00000001,    //RefReg
  0x00000010,    //NReg
  0x00100000,    //FuncReg
