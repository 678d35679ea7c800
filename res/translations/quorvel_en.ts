<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="pt">
<context>
    <name>AboutDialog</name>
    <message>
        <source>Informação acerca do Quorvel Naval ... nada a salientar.</source>
        <translation>About Quorvel Naval ... nothing to report.</translation>
    </message>
    <message>
        <source>                Quorvel Naval TCP/IP Versão 3.0
 Escrito com Qt %1 e compilado com %2</source>
        <translation>                Quorvel Naval TCP/IP Version 3.0
 Written with Qt %1 and built with %2</translation>
    </message>
    <message>
        <source>Por quem gosta de batalhas navais
                  Feito em Portugal</source>
        <translation>By people who like naval battles
                   Made in Portugal</translation>
    </message>
    <message>
        <source>OK - Porreiro</source>
        <translation>OK - Cool</translation>
    </message>
    <message>
        <source>Pallete</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>Teste da pallete do sistema</source>
        <translation>System palette test</translation>
    </message>
</context>
<context>
    <name>BotProgram</name>
    <message>
        <source>(a linha acima %1 vezes seguidas)</source>
        <translation>(the line above %1 times in a row)</translation>
    </message>
    <message>
        <source>quorvel-bot: a ligação terminou ao fim de %1 de %2 partidas</source>
        <translation>quorvel-bot: the connection ended after %1 of %2 matches</translation>
    </message>
    <message>
        <source>partidas jogadas: %1  [ Eu=%2 , Adv=%3 ]  média de tiros por partida ganha: %4</source>
        <translation>matches played: %1  [ Me=%2 , Opp=%3 ]  mean shots per won match: %4</translation>
    </message>
    <message>
        <source>a escutar no porto %1</source>
        <translation>listening on port %1</translation>
    </message>
    <message>
        <source>--listen e --connect não podem ser usados juntos</source>
        <translation>--listen and --connect cannot be used together</translation>
    </message>
    <message>
        <source>--port vai com --connect; um servidor toma o seu porto de --listen</source>
        <translation>--port goes with --connect; a server takes its port from --listen</translation>
    </message>
    <message>
        <source>--level tem de ser easy, normal ou hard, não &apos;%1&apos;</source>
        <translation>--level must be easy, normal or hard, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--matches tem de ser um número de partidas (0 para sem limite), não &apos;%1&apos;</source>
        <translation>--matches must be a number of matches (0 for no limit), not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--delay tem de ser um número de milissegundos de 0 a 3600000, não &apos;%1&apos;</source>
        <translation>--delay must be a number of milliseconds from 0 to 3600000, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--ready-wait tem de ser um número de segundos de 0 a 3600, não &apos;%1&apos;</source>
        <translation>--ready-wait must be a number of seconds from 0 to 3600, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--seed tem de ser um número de 0 a 4294967295, não &apos;%1&apos;</source>
        <translation>--seed must be a number from 0 to 4294967295, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--language tem de ser pt ou en, não &apos;%1&apos;</source>
        <translation>--language must be pt or en, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Um adversário do Quorvel Naval jogado pelo computador: joga sobre TCP como o jogo, sem janela, e escreve uma linha por acontecimento.</source>
        <translation>A computer opponent for Quorvel Naval: it plays over TCP like the game, with no window, printing one line per event.</translation>
    </message>
    <message>
        <source>PORTO</source>
        <translation>PORT</translation>
    </message>
    <message>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <source>Escutar o jogo como servidor (o modo por omissão; porto 4000, 0 toma um porto livre).</source>
        <translation>Listen for the game as the server (the default mode; port 4000, 0 takes a free port).</translation>
    </message>
    <message>
        <source>Conectar como cliente ao jogo em ENDEREÇO.</source>
        <translation>Connect as the client to the game at HOST.</translation>
    </message>
    <message>
        <source>ENDEREÇO</source>
        <translation>HOST</translation>
    </message>
    <message>
        <source>O porto a que se conectar, com --connect (por omissão 4000).</source>
        <translation>The port to connect to, with --connect (default 4000).</translation>
    </message>
    <message>
        <source>Como joga: easy, normal ou hard (por omissão).</source>
        <translation>How it plays: easy, normal or hard (default).</translation>
    </message>
    <message>
        <source>NÍVEL</source>
        <translation>LEVEL</translation>
    </message>
    <message>
        <source>Parar ao fim de N partidas acabadas; 0 (por omissão) joga até a ligação terminar.</source>
        <translation>Stop after N finished matches; 0 (default) plays until the connection ends.</translation>
    </message>
    <message>
        <source>Milissegundos antes de declarar a frota e antes de cada tiro (por omissão 400).</source>
        <translation>Milliseconds before declaring the fleet and before each shot (default 400).</translation>
    </message>
    <message>
        <source>MS</source>
        <translation>MS</translation>
    </message>
    <message>
        <source>Semente das frotas e dos tiros, para repetir um jogo.</source>
        <translation>Seed of the fleets and shots, for a replay.</translation>
    </message>
    <message>
        <source>Depois de uma partida, segundos à espera de que o adversário declare a frota primeiro, antes de a declarar mesmo assim (por omissão 20).</source>
        <translation>After a match, seconds to wait for the opponent to declare its fleet first before declaring anyway (default 20).</translation>
    </message>
    <message>
        <source>SEGUNDOS</source>
        <translation>SECONDS</translation>
    </message>
    <message>
        <source>Escrever só o resumo e os erros.</source>
        <translation>Print only the summary and errors.</translation>
    </message>
    <message>
        <source>Escrever os textos do jogo na LÍNGUA: pt ou en (por omissão: inglês num ambiente de trabalho inglês, português em qualquer outro).</source>
        <translation>Print the game&apos;s texts in LANGUAGE: pt or en (default: English on an English desktop, Portuguese on any other).</translation>
    </message>
    <message>
        <source>LÍNGUA</source>
        <translation>LANGUAGE</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>o porto tem de ser um número de %1 a 65535, não &apos;%2&apos;</source>
        <translation>the port must be a number from %1 to 65535, not &apos;%2&apos;</translation>
    </message>
    <message>
        <source>--connect precisa do endereço do jogo a que se conectar</source>
        <translation>--connect needs the address of the game to connect to</translation>
    </message>
    <message>
        <source>&apos;%1&apos; abre um parêntese recto que não fecha</source>
        <translation>&apos;%1&apos; opens a bracket it does not close</translation>
    </message>
    <message>
        <source>&apos;%1&apos; tem &apos;%2&apos; depois do endereço</source>
        <translation>&apos;%1&apos; has &apos;%2&apos; after the address</translation>
    </message>
    <message>
        <source>argumento inesperado &apos;%1&apos;</source>
        <translation>unexpected argument &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--%1 foi dado mais de uma vez</source>
        <translation>--%1 is given more than once</translation>
    </message>
    <message>
        <source>%1: %2
Experimente &apos;%1 --help&apos;.
</source>
        <translation>%1: %2
Try &apos;%1 --help&apos;.
</translation>
    </message>
</context>
<context>
    <name>ComputerOpponent</name>
    <message>
        <source> [ Eu=%1 , Adv=%2 ]</source>
        <translation> [ Me=%1 , Opp=%2 ]</translation>
    </message>
    <message>
        <source>(1 linha de conversa omitida)</source>
        <translation>(1 chat line left out)</translation>
    </message>
    <message>
        <source>(%1 linhas de conversa omitidas)</source>
        <translation>(%1 chat lines left out)</translation>
    </message>
    <message>
        <source>As respostas do adversário não deixam casa onde atirar: violam as regras do jogo. A ligação é fechada.</source>
        <translation>The opponent&apos;s replies leave no cell to fire at: they break the rules of the game. Closing the connection.</translation>
    </message>
</context>
<context>
    <name>EventLog</name>
    <message>
        <source>▲ 1 linha nova</source>
        <translation>▲ 1 new line</translation>
    </message>
    <message>
        <source>▲ %1 linhas novas</source>
        <translation>▲ %1 new lines</translation>
    </message>
</context>
<context>
    <name>GameCommandLine</name>
    <message>
        <source>Quorvel Naval, uma batalha naval a dois sobre TCP. Sem opções a janela abre desligada; cada opção abaixo começa logo um jogo.</source>
        <translation>Quorvel Naval, a naval battle for two over TCP. With no option the window opens disconnected; each option below starts straight into a game.</translation>
    </message>
    <message>
        <source>Escutar como servidor, no PORTO (4000 se omitido; 0 toma um livre).</source>
        <translation>Listen as the server, on PORT (4000 if left out; 0 takes a free one).</translation>
    </message>
    <message>
        <source>PORTO</source>
        <translation>PORT</translation>
    </message>
    <message>
        <source>Conectar como cliente a ENDEREÇO, ou ENDEREÇO:PORTO (porto 4000 se omitido; um endereço IPv6 entre parênteses rectos, como [::1]:4000).</source>
        <translation>Connect as the client to HOST, or HOST:PORT (port 4000 if left out; an IPv6 address in brackets, as [::1]:4000).</translation>
    </message>
    <message>
        <source>ENDEREÇO[:PORTO]</source>
        <translation>HOST[:PORT]</translation>
    </message>
    <message>
        <source>Jogar contra o computador no NÍVEL: easy, normal ou hard (se omitido).</source>
        <translation>Play against the computer at LEVEL: easy, normal or hard (if left out).</translation>
    </message>
    <message>
        <source>NÍVEL</source>
        <translation>LEVEL</translation>
    </message>
    <message>
        <source>Falar a LÍNGUA: pt (português) ou en (inglês). Sem ela o jogo fala inglês num ambiente de trabalho inglês e português em qualquer outro.</source>
        <translation>Speak LANGUAGE: pt (Portuguese) or en (English). Without it the game speaks English on an English desktop and Portuguese on any other.</translation>
    </message>
    <message>
        <source>LÍNGUA</source>
        <translation>LANGUAGE</translation>
    </message>
    <message>
        <source>--listen, --connect e --computer excluem-se uns aos outros</source>
        <translation>--listen, --connect and --computer exclude each other</translation>
    </message>
    <message>
        <source>--language aceita pt ou en, não &apos;%1&apos;</source>
        <translation>--language takes pt or en, not &apos;%1&apos;</translation>
    </message>
    <message>
        <source>--computer aceita easy, normal ou hard, não &apos;%1&apos;</source>
        <translation>--computer takes easy, normal or hard, not &apos;%1&apos;</translation>
    </message>
</context>
<context>
    <name>GameText</name>
    <message>
        <source>Redefinir novo jogo...</source>
        <translation>New match...</translation>
    </message>
    <message>
        <source>Criar tabuleiro.</source>
        <translation>Build your fleet.</translation>
    </message>
    <message>
        <source>Ocultar</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>Mostrar</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>Let the game BEGIN!
A receber tiros.</source>
        <translation>Let the game BEGIN!
Receiving shots.</translation>
    </message>
    <message>
        <source>Jogo preenchido.A aguardar pelo outro jogador</source>
        <translation>Fleet complete. Waiting for the other player</translation>
    </message>
    <message>
        <source>O outro jogador ganhou. Carrege em OK para novo jogo.</source>
        <translation>The other player won. Press OK for a new match.</translation>
    </message>
    <message>
        <source>Melhor sorte para a próxima...</source>
        <translation>Better luck next time...</translation>
    </message>
    <message>
        <source>Ganhou o jogo. Carrege em OK para novo.</source>
        <translation>You won the match. Press OK for a new one.</translation>
    </message>
    <message>
        <source>BUM! he he he...</source>
        <translation>BOOM! he he he...</translation>
    </message>
    <message>
        <source>Erro ao comunicar dados.Buffer underrun?</source>
        <translation>Error sending data. Buffer underrun?</translation>
    </message>
    <message>
        <source>Envio de mensagem</source>
        <translation>Sending a message</translation>
    </message>
    <message>
        <source>Aponte num local vazio...para não repetir tiros!</source>
        <translation>Aim at an empty cell... no shot twice!</translation>
    </message>
    <message>
        <source>O outro jogador randomizou o jogo e está pronto.</source>
        <translation>The other player generated a fleet and is ready.</translation>
    </message>
    <message>
        <source>O outro jogador está pronto.</source>
        <translation>The other player is ready.</translation>
    </message>
    <message>
        <source>Let the game begin!
Pode atirar.</source>
        <translation>Let the game begin!
You may fire.</translation>
    </message>
    <message>
        <source>Let the game begin!
A receber os tiros...</source>
        <translation>Let the game begin!
Receiving the shots...</translation>
    </message>
    <message>
        <source>&lt;CPU&gt; Acertou num barco de 1 cano.</source>
        <translation>&lt;CPU&gt; Hit a ship of 1 cell.</translation>
    </message>
    <message>
        <source>&lt;CPU&gt; Acertou num barco de %1 canos.</source>
        <translation>&lt;CPU&gt; Hit a ship of %1 cells.</translation>
    </message>
    <message>
        <source>&lt;CPU&gt; Afundou um barco de 1 cano.</source>
        <translation>&lt;CPU&gt; Sank a ship of 1 cell.</translation>
    </message>
    <message>
        <source>&lt;CPU&gt; Afundou um barco de %1 canos.</source>
        <translation>&lt;CPU&gt; Sank a ship of %1 cells.</translation>
    </message>
    <message>
        <source>A receber tiros do adversario.</source>
        <translation>Receiving the opponent&apos;s shots.</translation>
    </message>
    <message>
        <source>A enviar tiro %1 .</source>
        <translation>Firing shot %1 .</translation>
    </message>
    <message>
        <source>A enviar tiro 1...</source>
        <translation>Firing shot 1...</translation>
    </message>
    <message>
        <source>Coloque o cano %1</source>
        <translation>Place cell %1</translation>
    </message>
    <message>
        <source>Corrija o jogo...</source>
        <translation>Correct the fleet...</translation>
    </message>
    <message>
        <source>&lt;EU&gt; %1</source>
        <translation>&lt;ME&gt; %1</translation>
    </message>
    <message>
        <source>&lt;ADV&gt; %1</source>
        <translation>&lt;OPP&gt; %1</translation>
    </message>
    <message>
        <source>Quorvel Naval - Programa TCP/IP SERVIDOR</source>
        <translation>Quorvel Naval - TCP/IP program SERVER</translation>
    </message>
    <message>
        <source>Quorvel Naval - Programa TCP/IP CLIENTE</source>
        <translation>Quorvel Naval - TCP/IP program CLIENT</translation>
    </message>
    <message>
        <source>TCP/IP - Quorvel Naval</source>
        <translation>TCP/IP - Quorvel Naval</translation>
    </message>
    <message>
        <source>Conectar</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>Escutar</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>A esperar pela conecção...</source>
        <translation>Waiting for a connection...</translation>
    </message>
    <message>
        <source>A esperar pela conecção...
Porto %1.</source>
        <translation>Waiting for a connection...
Port %1.</translation>
    </message>
    <message>
        <source>Impossível criar o socket
Pode estar o porto já estar definido
ou não tem o protocolo TCP/IP instalado.</source>
        <translation>Cannot create the socket
The port may be in use already
or TCP/IP is not installed.</translation>
    </message>
    <message>
        <source>TCP/IP Quorvel Naval</source>
        <translation>TCP/IP Quorvel Naval</translation>
    </message>
    <message>
        <source>Reveja as definições
de conecção.</source>
        <translation>Check the connection
settings.</translation>
    </message>
    <message>
        <source>A estabelecer conecção ao servidor...</source>
        <translation>Connecting to the server...</translation>
    </message>
    <message>
        <source>As comunicações foram encerradas.Pode voltar a conectar para novo jogo.</source>
        <translation>The connection is closed. Connect again for a new match.</translation>
    </message>
    <message>
        <source>Houve tentativa de conecção ao jogo por outro utilizador.</source>
        <translation>Another player tried to join the game.</translation>
    </message>
    <message>
        <source>Impossível fazer conecção ao servidor/porto
Expecificado.</source>
        <translation>Cannot connect to the server/port
given.</translation>
    </message>
    <message>
        <source>Conecção TCP/IP</source>
        <translation>TCP/IP connection</translation>
    </message>
    <message>
        <source>Reveja as definições de rede.</source>
        <translation>Check the network settings.</translation>
    </message>
    <message>
        <source>O outro jogador fechou a conecção
Jogo terminado.</source>
        <translation>The other player closed the connection
Game over.</translation>
    </message>
    <message>
        <source>Uma conecção chegou e fechou-se sem jogar.</source>
        <translation>A connection came and closed without playing.</translation>
    </message>
</context>
<context>
    <name>MainDialog</name>
    <message>
        <source> [ Eu=%1 , Adv=%2 ]</source>
        <translation> [ Me=%1 , Opp=%2 ]</translation>
    </message>
    <message>
        <source>Socket Modo</source>
        <translation>Socket mode</translation>
    </message>
    <message>
        <source>Servidor</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Cliente</source>
        <translation>Client</translation>
    </message>
    <message>
        <source>Fechar COM</source>
        <translation>Close COM</translation>
    </message>
    <message>
        <source>Enviar</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>IP socket</source>
        <translation>IP socket</translation>
    </message>
    <message>
        <source>Endereço de TCP/IP</source>
        <translation>TCP/IP address</translation>
    </message>
    <message>
        <source>Porto</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Situação actual</source>
        <translation>Current status</translation>
    </message>
    <message>
        <source>Aceitar</source>
        <translation>Accept</translation>
    </message>
    <message>
        <source>Randomize</source>
        <translation>Randomize</translation>
    </message>
    <message>
        <source>Gerador de jogo</source>
        <translation>Fleet generator</translation>
    </message>
    <message>
        <source>Verifique as ligações
cliente-server.</source>
        <translation>Check the client-server
connections.</translation>
    </message>
    <message>
        <source>Introduza um número inteiro entre 0 e 65535.</source>
        <translation>Enter a whole number from 0 to 65535.</translation>
    </message>
    <message>
        <source>Acerca do quorvel...</source>
        <translation>About quorvel...</translation>
    </message>
    <message>
        <source>Jogar contra o computador</source>
        <translation>Play against the computer</translation>
    </message>
    <message>
        <source>Fácil</source>
        <translation>Easy</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Difícil</source>
        <translation>Hard</translation>
    </message>
</context>
</TS>
