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
    <name>Bell</name>
    <message>
        <source>Sinal</source>
        <translation>Bell</translation>
    </message>
    <message>
        <source>Erro</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Aviso</source>
        <translation>Warning</translation>
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
        <source>Conectar como cliente ao jogo em ENDEREÇO, ou ENDEREÇO:PORTO (um endereço IPv6 entre parênteses rectos, como [::1]:4000).</source>
        <translation>Connect as the client to the game at HOST, or HOST:PORT (an IPv6 address in brackets, as [::1]:4000).</translation>
    </message>
    <message>
        <source>ENDEREÇO[:PORTO]</source>
        <translation>HOST[:PORT]</translation>
    </message>
    <message>
        <source>O porto a que se conectar, com --connect, se ENDEREÇO não o diz (por omissão 4000).</source>
        <translation>The port to connect to, with --connect, when HOST does not say it (default 4000).</translation>
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
        <source>(1 linha do adversário omitida)</source>
        <translation>(1 line from the opponent left out)</translation>
    </message>
    <message>
        <source>(%1 linhas do adversário omitidas)</source>
        <translation>(%1 lines from the opponent left out)</translation>
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
    <name>FleetGuide</name>
    <message>
        <source>Barco de %1 canos em %2: o máximo é 5.</source>
        <translation>A ship of %1 cells at %2: 5 at most.</translation>
    </message>
    <message>
        <source>Barcos a tocar-se em %1 e %2.</source>
        <translation>Ships touching at %1 and %2.</translation>
    </message>
    <message>
        <source>Barcos de %1: %2 em vez de %3.</source>
        <translation>Ships of %1: %2 instead of %3.</translation>
    </message>
    <message>
        <source>Barcos de %1: %2 em vez de %3 (%4).</source>
        <translation>Ships of %1: %2 instead of %3 (%4).</translation>
    </message>
    <message>
        <source>O barco de 5 em %1 não é um T.</source>
        <translation>The ship of 5 at %1 is not a T.</translation>
    </message>
    <message>
        <source>Frota a colocar</source>
        <translation>Fleet to place</translation>
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
    <message>
        <source>Endereços deste computador: %1 — porto %2</source>
        <translation>This computer&apos;s addresses: %1 — port %2</translation>
    </message>
    <message>
        <source>o porto tem de estar entre 0 e 65535</source>
        <translation>the port must be from 0 to 65535</translation>
    </message>
    <message>
        <source>ligação recusada</source>
        <translation>connection refused</translation>
    </message>
    <message>
        <source>servidor desconhecido</source>
        <translation>unknown host</translation>
    </message>
    <message>
        <source>tempo esgotado sem resposta</source>
        <translation>timed out without an answer</translation>
    </message>
    <message>
        <source>porto já em uso</source>
        <translation>port already in use</translation>
    </message>
    <message>
        <source>permissão negada</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>rede inacessível</source>
        <translation>network unreachable</translation>
    </message>
    <message>
        <source>servidor inacessível</source>
        <translation>host unreachable</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Mar: uma casa onde ainda não há nada.</source>
        <translation>Sea: a cell with nothing on it yet.</translation>
    </message>
    <message>
        <source>Na grelha da esquerda, um cano da sua esquadra; na da direita, um cano do adversário que o seu tiro atingiu.</source>
        <translation>On the left grid, a cell of your fleet; on the right grid, a cell of the opponent's that your shot hit.</translation>
    </message>
    <message>
        <source>Um cano da sua esquadra atingido pelo adversário.</source>
        <translation>A cell of your fleet hit by the opponent.</translation>
    </message>
    <message>
        <source>Água: um tiro que falhou, seu ou do adversário, ou o mar à volta de um barco afundado.</source>
        <translation>Water: a shot that missed, yours or the opponent's, or the sea around a sunk ship.</translation>
    </message>
    <message>
        <source>No fim de um jogo contra o computador, os canos dele que nenhum tiro encontrou.</source>
        <translation>At the end of a match against the computer, its ship cells that no shot found.</translation>
    </message>
    <message>
        <source>A capa que &lt;b&gt;Ocultar&lt;/b&gt; põe sobre a sua esquadra; os tiros que recebe continuam a ver-se. &lt;b&gt;Mostrar&lt;/b&gt; tira-a.</source>
        <translation>The cover that &lt;b&gt;Hide&lt;/b&gt; puts over your fleet; the shots you receive still show. &lt;b&gt;Show&lt;/b&gt; takes it away.</translation>
    </message>
    <message>
        <source>A casa apontada pelo rato ou pelas setas: mais pálida, com contorno amarelo.</source>
        <translation>The cell the mouse or the arrow keys point at: paler, with a yellow outline.</translation>
    </message>
    <message>
        <source>O painel que tapa a grelha da direita enquanto não é altura de disparar, por exemplo à espera de que o adversário declare a esquadra.</source>
        <translation>The panel over the right grid while it is not time to fire, for instance while you wait for the opponent to declare a fleet.</translation>
    </message>
    <message>
        <source>Como jogar</source>
        <translation>How to play</translation>
    </message>
    <message>
        <source>A esquadra</source>
        <translation>The fleet</translation>
    </message>
    <message>
        <source>Regras da colocação</source>
        <translation>Placing the ships</translation>
    </message>
    <message>
        <source>Construir a esquadra</source>
        <translation>Building your fleet</translation>
    </message>
    <message>
        <source>Os tiros</source>
        <translation>Firing</translation>
    </message>
    <message>
        <source>Cores e marcas</source>
        <translation>Colours and marks</translation>
    </message>
    <message>
        <source>O teclado</source>
        <translation>The keyboard</translation>
    </message>
    <message>
        <source>Jogar com um amigo</source>
        <translation>Playing a friend</translation>
    </message>
    <message>
        <source>Jogar contra o computador</source>
        <translation>Playing the computer</translation>
    </message>
    <message>
        <source>&lt;p&gt;Cada jogador esconde uma esquadra de onze barcos na grelha da esquerda, de 10×10 casas, e dispara à vez contra a grelha do outro, à direita. Ganha o jogo quem afundar primeiro todos os barcos do adversário.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Each player hides a fleet of eleven ships on the left grid, of 10×10 cells, and fires in turn at the other's grid, on the right. The first to sink all the opponent's ships wins the match.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Os dois jogadores têm os mesmos onze barcos, 25 canos ao todo:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;1 barco de 5 canos, em forma de T;&lt;/li&gt;&lt;li&gt;1 barco de 4 canos;&lt;/li&gt;&lt;li&gt;2 barcos de 3 canos;&lt;/li&gt;&lt;li&gt;3 barcos de 2 canos;&lt;/li&gt;&lt;li&gt;4 barcos de 1 cano.&lt;/li&gt;&lt;/ul&gt;</source>
        <translation>&lt;p&gt;Both players have the same eleven ships, 25 cells in all:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;1 ship of 5 cells, shaped like a T;&lt;/li&gt;&lt;li&gt;1 ship of 4 cells;&lt;/li&gt;&lt;li&gt;2 ships of 3 cells;&lt;/li&gt;&lt;li&gt;3 ships of 2 cells;&lt;/li&gt;&lt;li&gt;4 ships of 1 cell.&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Uma esquadra completa, como a grelha a mostra: em cima o T e o barco de 4, depois os de 3, os de 2 e os de 1. As linhas têm letras, de A a J, e as colunas números, de 0 a 9.&lt;/p&gt;</source>
        <translation>&lt;p&gt;A complete fleet, as the grid shows it: at the top the T and the ship of 4, then the ships of 3, of 2 and of 1. The rows are lettered A to J, the columns numbered 0 to 9.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Os canos de um barco estão ligados pelos lados. Os barcos de 3 e de 4 canos podem ser direitos ou dobrar (em L, em quadrado...). O de 5 tem sempre a forma de um T: uma barra de três canos com uma haste de dois a partir do meio da barra, virado para qualquer dos quatro lados:&lt;/p&gt;</source>
        <translation>&lt;p&gt;The cells of a ship are joined by their sides. Ships of 3 and 4 cells may be straight or bend (into an L, a square...). The ship of 5 is always a T: a bar of three cells with a stem of two from the middle of the bar, facing any of the four sides:&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Dois barcos nunca se tocam, nem pelos lados nem pelos cantos: à volta de cada barco fica pelo menos uma casa de mar. Dois canos lado a lado são sempre do mesmo barco.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Two ships never touch, neither at their sides nor at a corner: around every ship lies at least one cell of sea. Two cells side by side always belong to the same ship.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Mal a ligação se estabelece, cada jogador constrói a sua esquadra na grelha da esquerda. Clique numa casa para lá pôr um cano; um clique com o botão direito, ou a tecla Delete, tira-o. A caixa &lt;b&gt;Situação actual&lt;/b&gt; vai contando os canos.&lt;/p&gt;&lt;p&gt;O 25.º cano verifica a esquadra: se for válida, fica declarada e o adversário é avisado; se não for, esse cano sai outra vez e a caixa diz «Corrija o jogo...».&lt;/p&gt;&lt;p&gt;Ou então carregue em &lt;b&gt;Randomize&lt;/b&gt; para uma esquadra ao acaso, as vezes que quiser, e em &lt;b&gt;Aceitar&lt;/b&gt; para a declarar tal como está. Depois da primeira partida, &lt;b&gt;Frota anterior&lt;/b&gt; volta a pôr a última esquadra declarada, pronta a aceitar.&lt;/p&gt;</source>
        <translation>&lt;p&gt;As soon as the connection is made, each player builds a fleet on the left grid. Click a cell to put a ship cell there; a right click, or the Delete key, takes it away. The &lt;b&gt;Current status&lt;/b&gt; box counts the cells.&lt;/p&gt;&lt;p&gt;The 25th cell checks the fleet: if it is legal, it is declared and the opponent is told; if not, that cell goes away again and the box says “Correct the fleet...”.&lt;/p&gt;&lt;p&gt;Or press &lt;b&gt;Randomize&lt;/b&gt; for a random fleet, as often as you like, and &lt;b&gt;Accept&lt;/b&gt; to declare it as it stands. After the first match, &lt;b&gt;Last fleet&lt;/b&gt; puts back the fleet you last declared, ready to accept.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Dispara primeiro quem declarou a esquadra primeiro (se os dois a declararem ao mesmo tempo, começa quem escutou). Cada turno tem três tiros: clique numa casa da grelha da direita e espere pela resposta antes do tiro seguinte. Depois do terceiro, a vez passa ao adversário.&lt;/p&gt;&lt;p&gt;Cada tiro tem a sua resposta:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;&lt;b&gt;água&lt;/b&gt;: a casa fica azul;&lt;/li&gt;&lt;li&gt;&lt;b&gt;acertou&lt;/b&gt;: a casa fica vermelha e o registo diz o tamanho do barco («Acertou num barco de 3 canos.»);&lt;/li&gt;&lt;li&gt;&lt;b&gt;afundou&lt;/b&gt;: era o último cano do barco; o registo di-lo («Afundou um barco de 3 canos.») e as casas à volta do barco ficam marcadas como água, porque lá não pode haver outro barco.&lt;/li&gt;&lt;/ul&gt;</source>
        <translation>&lt;p&gt;Whoever declared a fleet first fires first (if both declare at the same moment, the player who listened begins). A turn is three shots: click a cell of the right grid and wait for the reply before the next shot. After the third, the turn passes to the opponent.&lt;/p&gt;&lt;p&gt;Every shot has its reply:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;&lt;b&gt;water&lt;/b&gt;: the cell turns blue;&lt;/li&gt;&lt;li&gt;&lt;b&gt;hit&lt;/b&gt;: the cell turns red and the log says the length of the ship (“Hit a ship of 3 cells.”);&lt;/li&gt;&lt;li&gt;&lt;b&gt;sunk&lt;/b&gt;: it was the ship's last cell; the log says so (“Sank a ship of 3 cells.”) and the cells around the ship are marked as water, since no other ship can be there.&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;A grelha da direita a meio de um jogo: um barco de 3 afundado, rodeado de água; dois canos atingidos de um barco que ainda flutua; três tiros na água.&lt;/p&gt;&lt;p&gt;O jogo acaba quando um jogador perde o último cano. Os dois vêem o resultado numa caixa; quando a fecham, o resultado conta no placar do título da janela (por exemplo [ Eu=1 , Adv=0 ]) e começa logo um novo jogo na mesma ligação, com uma esquadra nova.&lt;/p&gt;</source>
        <translation>&lt;p&gt;The right grid in the middle of a match: a ship of 3 sunk, ringed with water; two hit cells of a ship still afloat; three shots in the water.&lt;/p&gt;&lt;p&gt;A match ends when a player loses the last ship cell. Both see the result in a box; when they close it, the result counts in the score in the window's title (for instance [ Me=1 , Opp=0 ]) and a new match begins at once on the same connection, with a new fleet.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;ul&gt;&lt;li&gt;&lt;b&gt;Tab&lt;/b&gt;, ou um clique, dá o teclado às grelhas: uma moldura pontilhada rodeia então a grelha em jogo, a sua enquanto constrói a esquadra, a do adversário quando dispara.&lt;/li&gt;&lt;li&gt;As &lt;b&gt;setas&lt;/b&gt; movem a casa destacada.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Espaço&lt;/b&gt; ou &lt;b&gt;Enter&lt;/b&gt; põe um cano ou dispara.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Delete&lt;/b&gt; ou &lt;b&gt;Backspace&lt;/b&gt; tira um cano.&lt;/li&gt;&lt;li&gt;Fora das grelhas, &lt;b&gt;Enter&lt;/b&gt; só envia a linha de conversa.&lt;/li&gt;&lt;li&gt;&lt;b&gt;F1&lt;/b&gt; abre esta ajuda.&lt;/li&gt;&lt;/ul&gt;</source>
        <translation>&lt;ul&gt;&lt;li&gt;&lt;b&gt;Tab&lt;/b&gt;, or a click, gives the keyboard to the grids: a dotted frame then surrounds the grid in play, yours while you build your fleet, the opponent's while you fire.&lt;/li&gt;&lt;li&gt;The &lt;b&gt;arrow keys&lt;/b&gt; move the highlighted cell.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Space&lt;/b&gt; or &lt;b&gt;Enter&lt;/b&gt; sets a cell or fires.&lt;/li&gt;&lt;li&gt;&lt;b&gt;Delete&lt;/b&gt; or &lt;b&gt;Backspace&lt;/b&gt; takes a cell away.&lt;/li&gt;&lt;li&gt;Outside the grids, &lt;b&gt;Enter&lt;/b&gt; only sends the chat line.&lt;/li&gt;&lt;li&gt;&lt;b&gt;F1&lt;/b&gt; opens this help.&lt;/li&gt;&lt;/ul&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;Cada jogador usa a sua cópia do jogo, e as duas ligam-se por TCP/IP, na mesma rede ou pela Internet.&lt;/p&gt;&lt;ol&gt;&lt;li&gt;Um escuta: escolhe &lt;b&gt;Servidor&lt;/b&gt;, escreve o &lt;b&gt;Porto&lt;/b&gt; (4000, ou 0 para o sistema escolher um livre) e carrega em &lt;b&gt;Escutar&lt;/b&gt;. A janela mostra então o porto e os endereços deste computador: diga-os ao outro jogador.&lt;/li&gt;&lt;li&gt;O outro liga-se: escolhe &lt;b&gt;Cliente&lt;/b&gt;, escreve o endereço do servidor (um endereço IPv4 ou IPv6, ou o nome do computador) e o mesmo porto, e carrega em &lt;b&gt;Conectar&lt;/b&gt;.&lt;/li&gt;&lt;/ol&gt;&lt;p&gt;O porto tem de estar acessível do computador do cliente: abra-o na firewall do servidor e, pela Internet, encaminhe-o no router. No mesmo computador, use o endereço 127.0.0.1.&lt;/p&gt;&lt;p&gt;Ligados, podem conversar: escreva na linha por baixo das grelhas e carregue em Enter ou &lt;b&gt;Enviar&lt;/b&gt;. &lt;b&gt;Fechar COM&lt;/b&gt; termina a ligação, de qualquer dos lados.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Each player runs a copy of the game, and the two connect over TCP/IP, on the same network or over the Internet.&lt;/p&gt;&lt;ol&gt;&lt;li&gt;One listens: picks &lt;b&gt;Server&lt;/b&gt;, types the &lt;b&gt;Port&lt;/b&gt; (4000, or 0 for the system to choose a free one) and presses &lt;b&gt;Listen&lt;/b&gt;. The window then shows the port and the addresses of this computer: tell them to the other player.&lt;/li&gt;&lt;li&gt;The other connects: picks &lt;b&gt;Client&lt;/b&gt;, types the server's address (an IPv4 or IPv6 address, or the computer's name) and the same port, and presses &lt;b&gt;Connect&lt;/b&gt;.&lt;/li&gt;&lt;/ol&gt;&lt;p&gt;The port must be reachable from the client's computer: open it in the server's firewall and, over the Internet, forward it on the router. On one computer, use the address 127.0.0.1.&lt;/p&gt;&lt;p&gt;Once connected, you can chat: type in the line below the grids and press Enter or &lt;b&gt;Send&lt;/b&gt;. &lt;b&gt;Close COM&lt;/b&gt; ends the connection, from either side.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>&lt;p&gt;No menu &lt;b&gt;Jogo&lt;/b&gt; → &lt;b&gt;Jogar contra o computador&lt;/b&gt;, escolha o nível: &lt;b&gt;Fácil&lt;/b&gt; dispara ao acaso, &lt;b&gt;Normal&lt;/b&gt; procura e, quando acerta, segue o barco, &lt;b&gt;Difícil&lt;/b&gt; dispara onde é mais provável haver um barco, dado tudo o que os seus tiros já encontraram. O mesmo menu abre com um clique do botão direito na janela, fora das grelhas.&lt;/p&gt;&lt;p&gt;O computador joga dentro do programa, pelos controlos de ligação; &lt;b&gt;Fechar COM&lt;/b&gt; termina o jogo, e o modo, o porto e o endereço voltam a ser os que tinha.&lt;/p&gt;</source>
        <translation>&lt;p&gt;In the &lt;b&gt;Game&lt;/b&gt; menu → &lt;b&gt;Play against the computer&lt;/b&gt;, pick the level: &lt;b&gt;Easy&lt;/b&gt; fires at random, &lt;b&gt;Normal&lt;/b&gt; hunts and, once it hits, follows the ship, &lt;b&gt;Hard&lt;/b&gt; fires where a ship is most likely, given everything its shots have found. The same menu opens with a right click in the window, outside the grids.&lt;/p&gt;&lt;p&gt;The computer plays inside the program, through the connection controls; &lt;b&gt;Close COM&lt;/b&gt; ends the game, and the mode, port and address are back as you had them.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>LevelName</name>
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
<context>
    <name>MainDialog</name>
    <message>
        <source> [ Eu=%1 , Adv=%2 ]</source>
        <translation> [ Me=%1 , Opp=%2 ]</translation>
    </message>
    <message>
        <source>Nova partida.</source>
        <translation>New match.</translation>
    </message>
    <message>
        <source>&lt;ADV&gt; Acertou num barco de 1 cano.</source>
        <translation>&lt;OPP&gt; Hit a ship of 1 cell.</translation>
    </message>
    <message>
        <source>&lt;ADV&gt; Acertou num barco de %1 canos.</source>
        <translation>&lt;OPP&gt; Hit a ship of %1 cells.</translation>
    </message>
    <message>
        <source>&lt;ADV&gt; Afundou um barco de 1 cano.</source>
        <translation>&lt;OPP&gt; Sank a ship of 1 cell.</translation>
    </message>
    <message>
        <source>&lt;ADV&gt; Afundou um barco de %1 canos.</source>
        <translation>&lt;OPP&gt; Sank a ship of %1 cells.</translation>
    </message>
    <message>
        <source>Partida %1 ganha. [ Eu=%2 , Adv=%3 ]</source>
        <translation>Match %1 won. [ Me=%2 , Opp=%3 ]</translation>
    </message>
    <message>
        <source>Partida %1 perdida. [ Eu=%2 , Adv=%3 ]</source>
        <translation>Match %1 lost. [ Me=%2 , Opp=%3 ]</translation>
    </message>
    <message>
        <source>Tiros: eu %1 (%2 acertos), adversário %3 (%4 acertos).</source>
        <translation>Shots: me %1 (%2 hits), opponent %3 (%4 hits).</translation>
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
        <source>Frota anterior</source>
        <translation>Last fleet</translation>
    </message>
    <message>
        <source>Coloca de novo a frota da partida anterior, para aceitar.</source>
        <translation>Places the fleet of the last match again, ready to accept.</translation>
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
        <source>&amp;Jogo</source>
        <translation>&amp;Game</translation>
    </message>
    <message>
        <source>Jogar contra o &amp;computador</source>
        <translation>Play against the &amp;computer</translation>
    </message>
    <message>
        <source>&amp;Escutar como servidor</source>
        <translation>&amp;Listen as a server</translation>
    </message>
    <message>
        <source>C&amp;onectar ao servidor</source>
        <translation>C&amp;onnect to a server</translation>
    </message>
    <message>
        <source>&amp;Fechar a ligação</source>
        <translation>Clos&amp;e the connection</translation>
    </message>
    <message>
        <source>&amp;Sair</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Definições</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>&amp;Sons</source>
        <translation>&amp;Sounds</translation>
    </message>
    <message>
        <source>&amp;Língua</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Aj&amp;uda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Como jogar</source>
        <translation>&amp;How to play</translation>
    </message>
    <message>
        <source>&amp;Acerca do quorvel...</source>
        <translation>&amp;About quorvel...</translation>
    </message>
    <message>
        <source>A língua escolhida fala-se a partir da próxima vez que abrir o jogo.</source>
        <translation>The language chosen is spoken from the next time you open the game.</translation>
    </message>
    <message>
        <source>Endereços usados antes</source>
        <translation>Addresses used before</translation>
    </message>
    <message>
        <source>Há um jogo a decorrer. Sair e fechar a ligação?
O adversário fica a saber que saiu, e o resultado perde-se.</source>
        <translation>A game is under way. Leave it and close the connection?
Your opponent learns that you left, and the result is lost.</translation>
    </message>
    <message>
        <source>Sair do jogo</source>
        <translation>Leave the game</translation>
    </message>
    <message>
        <source>Continuar a jogar</source>
        <translation>Keep playing</translation>
    </message>
    <message>
        <source>Como jogar</source>
        <translation>How to play</translation>
    </message>
    <message>
        <source>&amp;Registo de partidas...</source>
        <translation>Match &amp;record...</translation>
    </message>
    <message>
        <source>Registo de partidas...</source>
        <translation>Match record...</translation>
    </message>
    <message>
        <source>O registo de partidas estava ilegível; foi guardado em %1 e começa um novo.</source>
        <translation>The match record could not be read; it was kept as %1 and a new one begins.</translation>
    </message>
    <message>
        <source>O registo de partidas não pode ser guardado em %1; fica só até sair do jogo.</source>
        <translation>The match record cannot be saved in %1; it lasts only until you quit the game.</translation>
    </message>
</context>
<context>
    <name>RecordWindow</name>
    <message>
        <source>Apagar registo</source>
        <translation>Erase record</translation>
    </message>
    <message>
        <source>Registo de partidas</source>
        <translation>Match record</translation>
    </message>
    <message>
        <source>Vitórias</source>
        <translation>Wins</translation>
    </message>
    <message>
        <source>Derrotas</source>
        <translation>Losses</translation>
    </message>
    <message>
        <source>Tiros por vitória</source>
        <translation>Shots per win</translation>
    </message>
    <message>
        <source>Jogadores</source>
        <translation>Players</translation>
    </message>
    <message>
        <source>Contra outros jogadores, não o computador deste programa.</source>
        <translation>Against other players, not this program's computer.</translation>
    </message>
    <message>
        <source>Os tiros por vitória são a média dos tiros que disparou em cada partida que ganhou.</source>
        <translation>Shots per win is the mean of the shots you fired in each match you won.</translation>
    </message>
    <message>
        <source>Apagar o registo de todas as partidas? Não se pode desfazer.</source>
        <translation>Erase the record of every match? This cannot be undone.</translation>
    </message>
    <message>
        <source>Apagar</source>
        <translation>Erase</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>WelcomePanel</name>
    <message>
        <source>Para começar a jogar</source>
        <translation>To start playing</translation>
    </message>
    <message>
        <source>Contra o computador</source>
        <translation>Against the computer</translation>
    </message>
    <message>
        <source>Escolha o nível: a partida começa logo.</source>
        <translation>Choose the level: the match begins at once.</translation>
    </message>
    <message>
        <source>Contra um amigo</source>
        <translation>Against a friend</translation>
    </message>
    <message>
        <source>Um dos dois escuta, e dá ao outro o endereço deste computador, que o registo mostra, e o porto.</source>
        <translation>One of you listens, and gives the other this computer's address, which the log shows, and the port.</translation>
    </message>
    <message>
        <source>Escutar</source>
        <translation>Listen</translation>
    </message>
    <message>
        <source>O outro escreve-os em baixo e carrega em Conectar.</source>
        <translation>The other types them below and presses Connect.</translation>
    </message>
    <message>
        <source>Conectar...</source>
        <translation>Connect...</translation>
    </message>
</context>
</TS>
