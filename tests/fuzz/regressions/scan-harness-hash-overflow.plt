SP1;SI.2,.3;DI1,1;LBHello
World;DF;LB;